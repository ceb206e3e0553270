#pragma once
// A peak window: the magnitudes of the last Length passes in time order and their maximum,
// kept up to date in constant amortised time per pass instead of a scan of the window.
// Length is the number of samples in one pulse period.

#include <array>
#include <bit>
#include <cstdint>

#include "History.h"

template <int Length>
class TPeakWindow : public TTimeOrdered<TPeakWindow<Length>> {
public:
    static constexpr int Size = Length;

    // Entry i in time order, entry 0 the oldest.
    double operator[](int i) const { return FEntries[i]; }
    // The maximum of all Length entries.
    double Max() const { return FValue[FHead]; }

    // The oldest entry drops out and Magnitude becomes the newest.
    //
    // Why the maximum is the very value of a scan that starts with entry 0 and takes an entry
    // only when it is greater than the maximum so far: the scan ends with a largest entry, and
    // so does this queue, because a candidate leaves the back only for a newer entry at least
    // as large (which outlives it in the window) and the front only once it has left the
    // window, so the front is always a largest live entry. The two may pick different entries
    // of the same value, and equal values are the same bits: the windows hold magnitudes,
    // finite and never -0, and an all-zero window gives +0 either way.
    void Push(double Magnitude)
    {
        constexpr int Mask = QueueCapacity - 1;
        FEntries.Push(Magnitude);
        ++FPushes;
        while (FCount > 0 && FStamp[FHead] <= FPushes - Length) {
            FHead = (FHead + 1) & Mask;
            --FCount;
        }
        while (FCount > 0 && FValue[(FHead + FCount - 1) & Mask] <= Magnitude)
            --FCount;
        const int Back = (FHead + FCount) & Mask;
        FValue[Back] = Magnitude;
        FStamp[Back] = FPushes;
        ++FCount;
    }

private:
    THistory<Length> FEntries;

    // The candidates for the maximum, oldest first: each with the push that brought it
    // (counted from 1), the values strictly decreasing from front to back. A circular queue;
    // it never holds more than Length candidates.
    static constexpr int QueueCapacity = static_cast<int>(std::bit_ceil(static_cast<unsigned>(Length)));
    std::array<double, QueueCapacity> FValue{};
    std::array<int64_t, QueueCapacity> FStamp{};
    int FHead = 0;
    int FCount = 1; // the newest of the initial zeros, as if brought by push 0
    int64_t FPushes = 0;
};
