#include "ChartScaleMap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "ChartRounding.h"
#include "ChartScaleDiv.h"

namespace {
constexpr double MaxPixelOffset = 2147483647.0;
} // namespace

void TScaleMap::SetPixelExtent(int Start, int Size)
{
    FFirstPixel = Start;
    FLastPixel = Start + Size;
}

long double TScaleMap::Offset(double Value) const
{
    return (static_cast<long double>(Value) - FScale->RangeMin()) * PixelLength() / FScale->RangeSpan();
}

int TScaleMap::ValueToPixel(double Value) const
{
    if (FScale->RangeSpan() == 0)
        return CenterPixel();
    const double t = static_cast<double>(Offset(Value));
    if (!(std::fabs(t) < MaxPixelOffset))
        return CenterPixel();
    const int64_t p = Place(labchart::RoundEven(t));
    return static_cast<int>(std::clamp<int64_t>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool TScaleMap::PixelFits(double Value) const
{
    if (FScale->RangeSpan() == 0)
        return true;
    // A range that is no number puts every value in the middle, which is a position too.
    return !(std::fabs(static_cast<double>(Offset(Value))) >= MaxPixelOffset);
}

long double TScaleMap::ExactPixel(double Value) const
{
    if (FScale->RangeSpan() == 0)
        return CenterPixel();
    return Place(Offset(Value));
}

double TScaleMap::PixelToValue(int Pixel) const
{
    if (PixelLength() == 0 || FScale->RangeSpan() == 0)
        return FScale->RangeMin();
    const long double offset = Horizontal() ? Pixel - FFirstPixel : FLastPixel - Pixel;
    return static_cast<double>(FScale->RangeMin() + offset * FScale->RangeSpan() / PixelLength());
}
