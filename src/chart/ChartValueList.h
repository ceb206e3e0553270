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
    void SetOrder(TChartListOrder AOrder) { FOrder = AOrder; }
    double Multiplier() const { return FMultiplier; }
    void SetMultiplier(double AMultiplier);
    bool DateTime() const { return FDateTime; }
    void SetDateTime(bool ADateTime) { FDateTime = ADateTime; }

    int Count() const { return static_cast<int>(FStored.size()); }
    // The stored value times the multiplier.
    double Value(int Index) const { return FStored[static_cast<std::size_t>(Index)] * FMultiplier; }
    double operator[](int Index) const { return Value(Index); }
    double Last() const { return Value(Count() - 1); }

    // 0 for an empty list.
    double MinValue() const;
    double MaxValue() const;

    // Where a new value goes: after the last element not greater than it for an ascending
    // list (so equal values keep their arrival order), at the end otherwise.
    int InsertionIndex(double StoredValue) const;

    void Clear();
    void InsertAt(int Index, double StoredValue);
    void Reserve(int Capacity) { FStored.reserve(static_cast<std::size_t>(Capacity)); }

private:
    void Recalc() const;

    std::string FName;
    TChartListOrder FOrder;
    double FMultiplier = 1.0;
    bool FDateTime = false;
    std::vector<double> FStored;
    mutable bool FStatsValid = false;
    mutable double FMin = 0;
    mutable double FMax = 0;
};
