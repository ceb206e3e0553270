#pragma once
// One coordinate list of a series (X or Y) with a minimum and maximum that are found lazily,
// on the first request after a change.

#include <vector>

class TChartValueList {
public:
    int Count() const { return static_cast<int>(FStored.size()); }
    double Value(int Index) const { return FStored[static_cast<std::size_t>(Index)]; }

    // 0 for an empty list.
    double MinValue() const;
    double MaxValue() const;

    // Where a new value goes in a list kept in ascending order: after the last element not
    // greater than it, so equal values keep their arrival order.
    int AscendingIndex(double StoredValue) const;

    void Clear();
    void InsertAt(int Index, double StoredValue);

private:
    void Recalc() const;

    std::vector<double> FStored;
    mutable bool FStatsValid = false;
    mutable double FMin = 0;
    mutable double FMax = 0;
};
