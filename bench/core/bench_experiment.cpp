// Passes per second of the bare engine, RC and matched filter, a simple and each complex signal.

#include <benchmark/benchmark.h>

#include "Experiment.h"

namespace {

void BM_Pass(benchmark::State &State, TSimpleKind SimpleKind, TComplexKind ComplexKind, TFilterKind FilterKind)
{
    TExperiment E;
    const TPassParameters P{0.3, false, 0, SimpleKind, ComplexKind, FilterKind};
    // The restart pass and the first pass of a kind build tables; keep them out of the figure.
    for (int p = 0; p < 1000; ++p)
        E.Pass(P);
    for (auto _ : State) {
        E.Pass(P);
        benchmark::DoNotOptimize(E.State().OutSnr);
    }
    State.counters["passes/s"] = benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(BM_Pass, RC_Rectangle, skRectangle, ckNone, fkRC);
BENCHMARK_CAPTURE(BM_Pass, RC_Lfm, skNone, ckLfm, fkRC);
BENCHMARK_CAPTURE(BM_Pass, RC_Barker, skNone, ckBarker, fkRC);
BENCHMARK_CAPTURE(BM_Pass, Matched_Rectangle, skRectangle, ckNone, fkMatched);
BENCHMARK_CAPTURE(BM_Pass, Matched_RisingRamp, skRisingRamp, ckNone, fkMatched);
BENCHMARK_CAPTURE(BM_Pass, Matched_FallingRamp, skFallingRamp, ckNone, fkMatched);
BENCHMARK_CAPTURE(BM_Pass, Matched_Triangle, skTriangle, ckNone, fkMatched);
BENCHMARK_CAPTURE(BM_Pass, Matched_Lfm, skNone, ckLfm, fkMatched);
BENCHMARK_CAPTURE(BM_Pass, Matched_Barker, skNone, ckBarker, fkMatched);
