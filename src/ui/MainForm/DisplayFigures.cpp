#include "DisplayFigures.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "NumberText.h"

namespace {
int TenfoldPosition(long double Value, int Full)
{
    const long double rounded = std::nearbyint(Value * 10.0L);
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return Full;
    return static_cast<int>(rounded);
}

long double Gain(double InSnr, double OutSnr)
{
    return static_cast<long double>(OutSnr) / static_cast<long double>(InSnr);
}
} // namespace

std::string FigureText(double Value)
{
    return FormatGeneral(Value, 4, 4);
}

std::string GainText(double InSnr, double OutSnr)
{
    if (InSnr == 0 || std::isinf(InSnr) || std::isinf(OutSnr))
        return "0";
    return FormatGeneral(Gain(InSnr, OutSnr), 4, 4);
}

int RatioBarPosition(double Snr, int Full)
{
    if (std::isinf(Snr))
        return Full;
    return TenfoldPosition(Snr, Full);
}

int GainBarPosition(double InSnr, double OutSnr, int Full)
{
    if (InSnr == 0 || std::isinf(InSnr) || OutSnr == 0 || std::isinf(OutSnr))
        return 0;
    return TenfoldPosition(Gain(InSnr, OutSnr), Full);
}
