#pragma once
// A sample history in time order, entry 0 the oldest, that takes a new entry without moving
// the others. The live part, entries 0 .. LiveLength()-1, is a ring stored twice over, so the
// live entries can always be read as one contiguous run and a new entry costs two stores;
// entries from LiveLength() on keep their values until the live part grows over them.

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

// Reads any history-like H (Size entries, operator[] in time order) from the oldest entry on,
// for range-for loops, the standard algorithms and comparisons.
template <class H>
class TTimeOrderIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = double;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = double;

    TTimeOrderIterator() = default;
    TTimeOrderIterator(const H *Hist, int Index) : FHist(Hist), FIndex(Index) {}
    double operator*() const { return (*FHist)[FIndex]; }
    TTimeOrderIterator &operator++()
    {
        ++FIndex;
        return *this;
    }
    TTimeOrderIterator operator++(int)
    {
        TTimeOrderIterator Old = *this;
        ++FIndex;
        return Old;
    }
    bool operator==(const TTimeOrderIterator &Other) const { return FIndex == Other.FIndex; }

private:
    const H *FHist = nullptr;
    int FIndex = 0;
};

// Time-order reading shared by the histories and the peak windows.
template <class H>
struct TTimeOrdered {
    using const_iterator = TTimeOrderIterator<H>;
    using iterator = const_iterator;
    const_iterator begin() const { return {static_cast<const H *>(this), 0}; }
    const_iterator end() const { return {static_cast<const H *>(this), H::Size}; }
    friend bool operator==(const H &a, const H &b) { return std::equal(a.begin(), a.end(), b.begin()); }
};

// Tells a reader that caches what it read whether a history has only taken pushes since: the
// count of pushes within one epoch, and an epoch that every other change (a fill, a change of
// the live length, a copy) renews with a number no history has had.
struct THistoryStamp {
    uint64_t Epoch = 0, Pushes = 0;
    // Exactly one push since Earlier, and nothing else.
    bool OnePushAfter(const THistoryStamp &Earlier) const
    {
        return Epoch == Earlier.Epoch && Pushes == Earlier.Pushes + 1;
    }
    static uint64_t NewEpoch()
    {
        static std::atomic<uint64_t> Last{0};
        return ++Last;
    }
};

template <int Capacity>
class THistory : public TTimeOrdered<THistory<Capacity>> {
public:
    static constexpr int Size = Capacity;

    THistory() = default;
    THistory(const THistory &Other) : FBuf(Other.FBuf), FTail(Other.FTail), FStart(Other.FStart), FLive(Other.FLive) {}
    THistory &operator=(const THistory &Other)
    {
        FBuf = Other.FBuf;
        FTail = Other.FTail;
        FStart = Other.FStart;
        FLive = Other.FLive;
        FStamp = {THistoryStamp::NewEpoch(), 0};
        return *this;
    }

    // Entry i in time order, 0 <= i < Size.
    double operator[](int i) const { return i < FLive ? FBuf[FStart + i] : FTail[i]; }
    // Entries First .. First+Count-1 in time order; they must lie within the live part.
    std::span<const double> Entries(int First, int Count) const
    {
        return {FBuf.data() + FStart + First, static_cast<std::size_t>(Count)};
    }
    double Newest() const { return FBuf[FStart + FLive - 1]; }
    int LiveLength() const { return FLive; }
    THistoryStamp Stamp() const { return FStamp; }

    // Entries 1 .. LiveLength()-1 move one place towards 0, the oldest drops out and V becomes
    // entry LiveLength()-1; the entries above the live part stay as they are.
    void Push(double V)
    {
        FBuf[FStart] = V;
        FBuf[FStart + FLive] = V;
        if (++FStart == FLive)
            FStart = 0;
        ++FStamp.Pushes;
    }

    // Makes entries 0 .. Live-1 the live part (1 <= Live <= Size); no entry changes its value.
    void SetLiveLength(int Live)
    {
        if (Live != FLive) [[unlikely]]
            Relive(Live);
    }

    void Fill(double V)
    {
        FBuf.fill(V);
        FTail.fill(V);
        FStamp = {THistoryStamp::NewEpoch(), 0};
    }

private:
    // Called on every pass, SetLiveLength keeps only its test inline; the copying is rare.
    [[gnu::noinline]] void Relive(int Live)
    {
        std::array<double, Capacity> All;
        for (int i = 0; i < Capacity; ++i)
            All[i] = (*this)[i];
        FTail = All;
        FStart = 0;
        FLive = Live;
        for (int i = 0; i < Live; ++i)
            FBuf[i] = FBuf[i + Live] = All[i];
        FStamp = {THistoryStamp::NewEpoch(), 0};
    }

    // FBuf[p] == FBuf[p + FLive] for p < FLive; the entry in time order i is FBuf[FStart + i].
    std::array<double, 2 * Capacity> FBuf{};
    std::array<double, Capacity> FTail{};
    int FStart = 0;
    int FLive = Capacity;
    THistoryStamp FStamp{THistoryStamp::NewEpoch(), 0};
};
