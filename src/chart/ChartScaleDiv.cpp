#include "ChartScaleDiv.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ChartErrors.h"
#include "ChartRounding.h"

namespace {
constexpr double MinStep = 1e-12;
constexpr double MaxStepCount = 2147483647.0;
} // namespace

void TScaleDiv::SetMinimum(double Value)
{
    if (Value > FMaximum)
        throw EChartError("Axis Minimum Value must be <= Maximum");
    FMinimum = Value;
}

void TScaleDiv::SetMaximum(double Value)
{
    if (Value < FMinimum)
        throw EChartError("Axis Maximum Value must be >= Minimum");
    FMaximum = Value;
}

void TScaleDiv::SetMinMax(double AMin, double AMax)
{
    if (AMin > AMax)
        throw EChartError("Axis Minimum Value must be <= Maximum");
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
    FMinimum = AMin;
    FMaximum = AMax;
}

void TScaleDiv::SetIncrement(double Value)
{
    if (Value < 0)
        throw EChartError("Axis increment must be >= 0");
    FIncrement = Value;
}

void TScaleDiv::CalcRange(double DataMin, double DataMax)
{
    if (FAutomatic || FAutomaticMaximum)
        FMaximum = DataMax;
    if (FAutomatic || FAutomaticMinimum)
        FMinimum = DataMin;
}

int TScaleDiv::MaxLabelCount(int LabelSize, int PixelLength)
{
    int64_t size = LabelSize;
    if (size <= 0)
        return 1;
    size += labchart::RoundEven(LabelsSeparation * 0.01 * static_cast<double>(size));
    return static_cast<int>(labchart::RoundEven(static_cast<double>(PixelLength) / static_cast<double>(size)));
}

double TScaleDiv::StepAbove(double x)
{
    if (!(x > 0) || !std::isfinite(x))
        return x;
    if (x >= 10)
        return StepAbove(x * 0.1) * 10;
    if (x < 1)
        return StepAbove(x * 10) * 0.1;
    return x < 2 ? 2 : x < 5 ? 5 : 10;
}

double TScaleDiv::LabelStep(int MaxLabels) const
{
    if (MaxLabels < 1)
        return MinStep;
    const double span = RangeSpan();
    double step = FIncrement > 0 ? FIncrement : std::fabs(span) >= 1 ? 1.0 : MinStep;
    // An infinite or undefined range never fits; it gets no labels (see LabelValues).
    if (std::isfinite(span)) {
        int64_t k = static_cast<int64_t>(MaxLabels) + 1;
        do {
            const double q = span / step;
            if (std::fabs(q) < MaxStepCount) {
                k = labchart::RoundEven(q);
                if (k <= MaxLabels)
                    break;
            }
            const double next = StepAbove(step);
            if (!(next > step) || !std::isfinite(next))
                break;
            step = next;
        } while (k > MaxLabels);
    }
    return std::max(MinStep, step);
}

void TScaleDiv::LabelValues(double Step, std::vector<double> &Values) const
{
    Values.clear();
    if (!(std::fabs(RangeSpan() / Step) < 10000))
        return;
    // A constant range has one label, at its value (counting down by the tiny step would
    // label it many times over when positive and never when negative).
    if (RangeMin() == RangeMax()) {
        Values.push_back(RangeMax());
        return;
    }
    double v = std::trunc(RangeMax() / Step) * Step;
    while (v > RangeMax()) {
        const double next = v - Step;
        if (next == v)
            return;
        v = next;
    }
    const double limit = static_cast<double>((static_cast<long double>(RangeMin()) - 1e-12L) / 1.000000000001L);
    // Far from zero a step below the values' resolution would not move the value: stop
    // instead of labelling the same value for ever.
    while (v >= limit && static_cast<int>(Values.size()) < MaxTicks) {
        Values.push_back(v);
        const double next = v - Step;
        if (next == v)
            break;
        v = next;
    }
}
