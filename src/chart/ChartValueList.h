#pragma once
// One coordinate list of a series (X or Y) with its order rule and a minimum and maximum
// that are found lazily, on the first request after a change.

#include <string>
#include <vector>

enum class TChartListOrder { loNone, loAscending };

class TChartValueList {
public:
    TChartValueList(std::string AName, TChartListOrder AOrder);

    const std::string &Name() const { return FName; }
    TChartListOrder Order() const { return FOrder; }

    int Count() const { return static_cast<int>(FStored.size()); }
    double Value(int Index) const { return FStored[static_cast<std::size_t>(Index)]; }

    // 0 for an empty list.
    double MinValue() const;
    double MaxValue() const;

    // Where a new value goes: after the last element not greater than it for an ascending
    // list (so equal values keep their arrival order), at the end otherwise.
    int InsertionIndex(double StoredValue) const;

    void Clear();
    void InsertAt(int Index, double StoredValue);

private:
    void Recalc() const;

    std::string FName;
    const TChartListOrder FOrder;
    std::vector<double> FStored;
    mutable bool FStatsValid = false;
    mutable double FMin = 0;
    mutable double FMax = 0;
};
