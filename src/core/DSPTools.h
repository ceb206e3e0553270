#pragma once
// Sample-by-sample processing blocks: the abstract block and the general recursive filter
// (direct form I), used as a first-order RC low-pass section; and the finite impulse
// response kernel that the matched filter's correlation runs on.

#include <array>
#include <cfloat>
#include <cstdint>
#include <memory>
#include <span>

#include "Extended64.h"
#include "History.h"

// Where long double is not x87's extended format (WebAssembly: binary128 in software), the
// correlation kernel forms its moderate terms and sums in that format emulated (Extended64.h),
// so that they come out as on the desktop, and fast. The desktop's tests set it to try the
// emulation against the x87 results.
#ifndef LAB_EXTENDED64
#define LAB_EXTENDED64 (LDBL_MANT_DIG != 64)
#endif

class TDSPBlock {
public:
    virtual ~TDSPBlock() = default;
    virtual double Process(double x) = 0;
};

class TIIRFilter final : public TDSPBlock {
public:
    // Length = the longer of the two arrays; a coefficient missing from the shorter one is 0.0.
    // Two empty arrays raise EArgumentError.
    TIIRFilter(std::span<const double> B, std::span<const double> A);
    ~TIIRFilter() override;
    TIIRFilter(const TIIRFilter &) = delete;
    TIIRFilter &operator=(const TIIRFilter &) = delete;

    void Reset();
    // Missing entries count as 0.0; an array longer than FLength raises EArgumentError and
    // changes nothing.
    void SetCoefficients(std::span<const double> B, std::span<const double> A);
    double Process(double x) override;
    // An index outside 0 .. FLength-1 raises EArgumentError.
    void SetB(int32_t index, double value);
    void SetA(int32_t index, double value);

    int32_t Length() const { return FLength; }
    // Read-only views for the tests.
    double B(int32_t i) const { return FB[i]; }
    double A(int32_t i) const { return FA[i]; }
    double X(int32_t i) const { return FX[i]; }
    double Y(int32_t i) const { return FY[i]; }

private:
    int32_t FLength = 0;
    // Owned arrays of FLength entries each; a construction that fails part way releases
    // whatever it had allocated.
    std::unique_ptr<double[]> FB;
    std::unique_ptr<double[]> FA;
    std::unique_ptr<double[]> FX;
    std::unique_ptr<double[]> FY;
};

// In the header, so that the engine's calls through the final class are inlined.
inline double TIIRFilter::Process(double x)
{
    // Each product is formed and added at extended precision and the sum rounded to 64 bits
    // after every step; the histories shift inside the same loop, oldest entry first.
    // a[0] is taken as 1 and never read.
    double *const X = FX.get();
    double *const Y = FY.get();
    const double *const Bc = FB.get();
    const double *const Ac = FA.get();
    double s = 0;
    for (int32_t i = FLength - 1; i >= 1; --i) {
        X[i] = X[i - 1];
        s = static_cast<double>(s + static_cast<long double>(X[i]) * Bc[i]);
        Y[i] = Y[i - 1];
        s = static_cast<double>(s - static_cast<long double>(Y[i]) * Ac[i]);
    }
    X[0] = x;
    // Rounded straight into the history, the next call's feedback term reads it back
    // without a detour through a temporary.
    Y[0] = static_cast<double>(static_cast<long double>(x) * Bc[0] + s);
    return Y[0];
}

// An RC section with pole k: B = [1 - k, 0.0], A = [1.0, -k], 1 - k formed at extended precision.
std::unique_ptr<TIIRFilter> CreateRCSection(double k);

// The pole of a time constant: k = exp(-1/tau) at extended precision, rounded once.
// tau = 0 raises EZeroDivide, an exponential beyond the 64-bit range EOverflow.
double RCPoleFromTimeConstant(long double tau);

// A correlation of windows of samples with one set of taps, for three channels at once (the
// matched filter's signal + noise, clean signal and noise): each output is the sum over
// i = 0 .. Length()-1, ascending, of ((w[i] * Taps[i]) / Divisor) * Gain, with w[0] the
// oldest entry of the channel's window. Every term is formed at extended precision and the
// running sum, starting at +0, is rounded to 64 bits after each addition. The window entries
// must be finite.
class TFIRKernel {
public:
    static constexpr int Channels = 3;
    static constexpr int MaxLength = 256;
    using TWindows = std::array<const double *, Channels>;
    using TStamps = std::array<THistoryStamp, Channels>;
    using TOutputs = std::array<double, Channels>;

    // More than MaxLength taps raise EArgumentError.
    void SetTaps(std::span<const double> Taps, long double Gain, long double Divisor);
    int32_t Length() const { return FLength; }

    // The windows are the newest Length() entries of each channel's history, which must lie
    // within its live part.
    template <int Capacity>
    void Run(const std::array<const THistory<Capacity> *, Channels> &Histories, TOutputs &Out)
    {
        TWindows Windows;
        TStamps Stamps;
        for (int c = 0; c < Channels; ++c) {
            Windows[c] = Histories[c]->Entries(Capacity - FLength, FLength).data();
            Stamps[c] = Histories[c]->Stamp();
        }
        Run(Windows, Stamps, Out);
    }
    // Windows: Length() entries per channel, oldest first; Stamps: the stamps of the histories
    // they lie in. Where every history has taken exactly one push since the previous call,
    // and SetTaps has not been called in between, the kernel takes only the new entries.
    void Run(const TWindows &Windows, const TStamps &Stamps, TOutputs &Out);

private:
    // The terms in tap order, as runs of unit taps (+1 or -1) and runs of other taps.
    struct TRun {
        int32_t First, Count;
        bool Unit;
    };
    struct TGeneralTerm {
        double Tap;
        int32_t Index;
#if LAB_EXTENDED64
        double TapHi, TapLo; // TExtendedTermSum::Split
#endif
    };
#if LAB_EXTENDED64
    using TSplit = TExtended64; // the scaled entry itself
#else
    // A scaled entry as two doubles whose sum, formed at extended precision, is the entry:
    // loading two doubles is much cheaper than loading an extended value.
    struct TSplit {
        double Hi, Lo;
    };
#endif
    using TSlot = std::array<TSplit, Channels>;
    void AddTerm(int32_t Index, double Tap, bool Unit);
    void Take(int32_t Slot, const TWindows &Windows, int32_t Entry);
    void Reload(const TWindows &Windows);
    void SumExactly(const TWindows &Windows, const TRun &Run, double (&Sums)[Channels]) const;
    void SumUnitTerms(const TRun &Run, double (&Sums)[Channels]) const;
    void SumGeneralTerms(const TWindows &Windows, const TRun &Run, double (&Sums)[Channels]) const;

    int32_t FLength = 0;
    long double FGain = 0;
    long double FDivisor = 1;
    // Gain, divisor and every tap lie within the bounds that make a window of moderate
    // entries give moderate terms (see ModerateEntry in the source).
    bool FModerateTaps = false;
#if LAB_EXTENDED64
    TExtendedTermSum FTermSum;
#endif
    std::array<TRun, MaxLength> FRuns{};
    int32_t FRunCount = 0;
    std::array<TGeneralTerm, MaxLength> FGeneral{};
    int32_t FGeneralCount = 0;
    // For each unit term, where its scaled entries stand in FScaled, the tap's sign applied.
    std::array<int32_t, MaxLength> FUnitSlots{};
    int32_t FUnitCount = 0;
    // The window entries are followed as a ring: entry i of the current windows is at slot
    // (FStart + i) mod Length().
    int32_t FStart = 0;
    bool FFollowing = false;
    // Window entries that are not moderate, over the three channels; each slot's own count.
    std::array<uint8_t, MaxLength> FImmoderate{};
    int32_t FImmoderateCount = 0;
    // (w[i] / Divisor) * Gain for each window entry, the three channels side by side, kept
    // while there are unit taps: the ring stored twice over, entry i at slot FStart + i,
    // followed by the same ring negated.
    static constexpr int NegatedShift = 2 * MaxLength;
    std::array<TSlot, 4 * MaxLength> FScaled{};
    // The histories' stamps at the last run. Last of all: placed beside FFollowing, it made
    // the general loop's passes twice as slow on the AMD machine measured, by layout alone.
    TStamps FStamps{};
};
