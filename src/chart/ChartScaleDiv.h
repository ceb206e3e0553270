#pragma once
// The scale of one axis as plain arithmetic: the range settings, the range they give for the
// data, the label step and the label values. A value type: it measures and draws nothing.

#include <vector>

class TScaleDiv {
public:
    // Room in the tick list, and so the most labels one paint draws.
    static constexpr int MaxTicks = 2000;
    // Extra room between two labels, per cent of the label size.
    static constexpr int LabelsSeparation = 10;

    // Range settings. Setting Minimum above Maximum, Maximum below Minimum or Increment
    // below 0 raises EChartError.
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool Value) { FAutomatic = Value; }
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool Value) { FAutomaticMinimum = Value; }
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool Value) { FAutomaticMaximum = Value; }
    double Minimum() const { return FMinimum; }
    void SetMinimum(double Value);
    double Maximum() const { return FMaximum; }
    void SetMaximum(double Value);
    // A fixed range in one call: switches the three automatic flags off; raises as
    // SetMinimum does when AMin > AMax.
    void SetMinMax(double AMin, double AMax);
    // The wanted label step; 0 chooses one.
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value);

    // The range from the data's extent along this axis (0 .. 0 without data): an automatic
    // end takes the data's end, a fixed one keeps Minimum or Maximum.
    void CalcRange(double DataMin, double DataMax);
    double RangeMin() const { return FMinimum; }
    double RangeMax() const { return FMaximum; }
    double RangeSpan() const { return FMaximum - FMinimum; }

    // How many labels fit along PixelLength pixels when one takes LabelSize of them.
    static int MaxLabelCount(int LabelSize, int PixelLength);
    // The smallest step of the 1-2-5 series (or Increment, stepped up) that fits the range
    // into at most MaxLabels steps; never below 1e-12.
    double LabelStep(int MaxLabels) const;
    // The next value strictly above x in ..., 0.1, 0.2, 0.5, 1, 2, 5, 10, ...
    static double StepAbove(double x);
    // Label values from the top of the range downwards, each the one before less Step; none
    // when the range holds 10000 steps or more. At most MaxTicks values.
    void LabelValues(double Step, std::vector<double> &Values) const;

private:
    bool FAutomatic = true;
    bool FAutomaticMinimum = true;
    bool FAutomaticMaximum = true;
    double FMinimum = 0;
    double FMaximum = 0;
    double FIncrement = 0;
};
