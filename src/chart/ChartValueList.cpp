#include "ChartValueList.h"

double TChartValueList::MinValue() const
{
    if (!FStatsValid)
        Recalc();
    return FMin;
}

double TChartValueList::MaxValue() const
{
    if (!FStatsValid)
        Recalc();
    return FMax;
}

// One pass from the first element: a later element is the new minimum if it is below the
// current one, else the new maximum if it is above the current one.
void TChartValueList::Recalc() const
{
    FMin = FMax = 0;
    const int n = Count();
    if (n > 0) {
        FMin = FMax = Value(0);
        for (int i = 1; i < n; ++i) {
            const double v = Value(i);
            if (v < FMin)
                FMin = v;
            else if (v > FMax)
                FMax = v;
        }
    }
    FStatsValid = true;
}

int TChartValueList::AscendingIndex(double StoredValue) const
{
    const int n = Count();
    if (n == 0 || !(StoredValue < FStored.back()))
        return n;
    int i = n - 1;
    while (i >= 0 && FStored[static_cast<std::size_t>(i)] > StoredValue)
        --i;
    return i + 1;
}

void TChartValueList::Clear()
{
    FStored.clear();
    FStatsValid = false;
}

void TChartValueList::InsertAt(int Index, double StoredValue)
{
    FStored.insert(FStored.begin() + Index, StoredValue);
    FStatsValid = false;
}
