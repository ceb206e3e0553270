// Long runs of the engine: 100 000 000 passes in each filter mode, every signal kind in turn,
// showing that resident memory stays flat, that a pass allocates nothing and that every
// figure stays a number. Takes a few minutes.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "Errors.h"
#include "Experiment.h"
#include "../ResidentMemory.h"

namespace {

long long GAllocations = 0;

struct TSetting {
    TSimpleKind SimpleKind;
    TComplexKind ComplexKind;
    bool Copy;
};

// What a student clicks through in an afternoon: the four simple pulses, then both complex
// pulses with the delayed copy.
constexpr TSetting Settings[] = {{skRectangle, ckNone, false},   {skRisingRamp, ckNone, false},
                                 {skFallingRamp, ckNone, false}, {skTriangle, ckNone, false},
                                 {skNone, ckLfm, true},          {skNone, ckBarker, true}};

// A figure is a number; a ratio may be +infinity only while its noise figure is zero.
bool FiguresSound(const TExperiment &E)
{
    const double Plain[] = {E.State().InPeak, E.State().InNoiseRms, E.State().InNoiseMs, E.State().OutPeak, E.State().OutNoiseRms, E.State().OutNoiseMs,
                            E.State().SignalHist[255], E.State().InputHist[255], E.State().OutputHist[255], E.State().OutSignalHist[255]};
    for (double v : Plain)
        if (!std::isfinite(v))
            return false;
    const auto RatioSound = [](double Snr, double Rms) {
        return std::isfinite(Snr) || (Snr == INFINITY && Rms == 0);
    };
    return RatioSound(E.State().InSnr, E.State().InNoiseRms) && RatioSound(E.State().OutSnr, E.State().OutNoiseRms);
}

void BM_LongRun(benchmark::State &State, TFilterKind FilterKind)
{
    constexpr long long Passes = 100'000'000;
    constexpr long long SettingLength = 5'000'000;
    constexpr long long SampleEvery = 1'000'000;
    for (auto _ : State) {
        TExperiment E;
        // One pass of each setting first, so the tables built on first use are in place.
        for (const auto &s : Settings)
            E.Pass({0.3, s.Copy, 20, s.SimpleKind, s.ComplexKind, FilterKind});
        E.MarkStatsStale();
        const long StartKiB = ResidentKiB();
        long MaxKiB = StartKiB;
        const long long StartAllocations = GAllocations;
        long long Unsound = 0, FirstUnsound = -1;
        std::printf("%s filter: resident memory at the start %ld KiB\n", FilterKind == fkRC ? "RC" : "matched", StartKiB);
        try {
            for (long long p = 0; p < Passes; ++p) {
                const TSetting &s = Settings[(p / SettingLength) % std::size(Settings)];
                if (p % SettingLength == 0)
                    E.MarkStatsStale(); // the radio click that chose the setting
                E.Pass({0.3, s.Copy, 20, s.SimpleKind, s.ComplexKind, FilterKind});
                if (!FiguresSound(E)) [[unlikely]] {
                    if (Unsound++ == 0)
                        FirstUnsound = p;
                }
                if (p % SampleEvery == 0) [[unlikely]] {
                    const long Now = ResidentKiB();
                    MaxKiB = Now > MaxKiB ? Now : MaxKiB;
                }
            }
        } catch (const Exception &e) {
            State.SkipWithError(e.what());
            return;
        }
        const long EndKiB = ResidentKiB();
        const long long Allocations = GAllocations - StartAllocations;
        std::printf("%s filter: resident memory at the end %ld KiB (peak %ld KiB), %lld allocations, "
                    "%lld passes with a figure that is not a number\n",
                    FilterKind == fkRC ? "RC" : "matched", EndKiB, MaxKiB, Allocations, Unsound);
        State.counters["rss_start_KiB"] = static_cast<double>(StartKiB);
        State.counters["rss_end_KiB"] = static_cast<double>(EndKiB);
        State.counters["rss_peak_KiB"] = static_cast<double>(MaxKiB);
        State.counters["allocations"] = static_cast<double>(Allocations);
        State.counters["passes/s"] = benchmark::Counter(static_cast<double>(Passes), benchmark::Counter::kIsRate);
        if (Unsound > 0) {
            const std::string Why = "a figure stopped being a number at pass " + std::to_string(FirstUnsound);
            State.SkipWithError(Why.c_str());
        } else if (MaxKiB > StartKiB + 256 || Allocations > 0) {
            State.SkipWithError("resident memory grew or a pass allocated");
        }
    }
}

} // namespace

// Counts every allocation of the program, so the long run can show that a pass makes none.
// GCC takes the replaced pair for a mismatch once it inlines them into a caller.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t Size)
{
    ++GAllocations;
    if (void *p = std::malloc(Size ? Size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

BENCHMARK_CAPTURE(BM_LongRun, RC, fkRC)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LongRun, Matched, fkMatched)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
