// Cost per call of the sample path and of the number texts.
#include <benchmark/benchmark.h>

#include "DSPTools.h"
#include "NumberSettings.h"
#include "NumberText.h"
#include "WaveShaping.h"

namespace {

// Arguments: simple kind, complex kind, copy enabled. GenerateSample alone: the same instant
// over and over, a fresh noise value each call.
void BM_GenerateSample(benchmark::State &State)
{
    const auto Simple = static_cast<TSimpleKind>(State.range(0));
    const auto Complex = static_cast<TComplexKind>(State.range(1));
    const bool Copy = State.range(2) != 0;
    TWaveForm w(10, 2000.0, 10.0);
    for (int k = 0; k < 7; ++k)
        w.AdvanceTime();
    benchmark::DoNotOptimize(w.GenerateSample(Simple, Complex, 0.3, Copy, 40)); // the first call
    for (auto _ : State)
        benchmark::DoNotOptimize(w.GenerateSample(Simple, Complex, 0.3, Copy, 40));
}

// One instant of the processing loop's generator work: GenerateSample, then AdvanceTime.
void BM_GenerateAndAdvance(benchmark::State &State)
{
    const auto Simple = static_cast<TSimpleKind>(State.range(0));
    const auto Complex = static_cast<TComplexKind>(State.range(1));
    const bool Copy = State.range(2) != 0;
    TWaveForm w(10, 2000.0, 10.0);
    benchmark::DoNotOptimize(w.GenerateSample(Simple, Complex, 0.3, Copy, 40));
    for (auto _ : State) {
        benchmark::DoNotOptimize(w.GenerateSample(Simple, Complex, 0.3, Copy, 40));
        w.AdvanceTime();
    }
}

void KindArgs(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"simple", "complex", "copy"});
    for (int Simple = 0; Simple < 4; ++Simple)
        b->Args({Simple, -1, 0});
    b->Args({-1, 0, 0})->Args({-1, 1, 0})->Args({-1, 0, 1})->Args({-1, 1, 1});
}
BENCHMARK(BM_GenerateSample)->Apply(KindArgs);
BENCHMARK(BM_GenerateAndAdvance)->Apply(KindArgs);

void BM_AdvanceTime(benchmark::State &State)
{
    TWaveForm w(10, 2000.0, 10.0);
    for (auto _ : State) {
        w.AdvanceTime();
        benchmark::DoNotOptimize(w.SampleIndex());
    }
}
BENCHMARK(BM_AdvanceTime);

void BM_BuildReference(benchmark::State &State)
{
    TWaveForm w(10, 2000.0, 10.0);
    std::array<double, TWaveForm::MaxPeriodSamples> Dest;
    for (auto _ : State) {
        w.BuildReference(skNone, ckLfm, Dest);
        benchmark::DoNotOptimize(Dest.data());
        benchmark::DoNotOptimize(w.ReferenceGain(ckLfm));
    }
}
BENCHMARK(BM_BuildReference);

// One section: every call waits for the previous output (the feedback term).
void BM_Process(benchmark::State &State)
{
    const auto Section = CreateRCSection(0.8);
    TDSPBlock &Block = *Section; // the engine calls through the block interface
    double x = 0.25;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Block.Process(x));
        x = -x;
    }
}
BENCHMARK(BM_Process);

// The engine's pattern: three independent sections per pass; time per Process call.
void BM_ProcessThreeSections(benchmark::State &State)
{
    const auto Input = CreateRCSection(0.8), Signal = CreateRCSection(0.8), Noise = CreateRCSection(0.8);
    TDSPBlock *Blocks[3] = {Input.get(), Signal.get(), Noise.get()};
    benchmark::DoNotOptimize(Blocks);
    double x = 0.25;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Blocks[0]->Process(x + 0.5));
        benchmark::DoNotOptimize(Blocks[1]->Process(0.5));
        benchmark::DoNotOptimize(Blocks[2]->Process(x));
        x = -x;
    }
    State.counters["time_per_call"] =
        benchmark::Counter(3, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProcessThreeSections);

void BM_FormatGeneral(benchmark::State &State)
{
    SetDecimalSeparator(",");
    const int P = static_cast<int>(State.range(0));
    const int W = P == 4 ? 4 : 0;
    long double x = 12.3456;
    for (auto _ : State) {
        benchmark::DoNotOptimize(FormatGeneral(x, P, W));
        x += 0.001L;
    }
    SetDecimalSeparator(".");
}
BENCHMARK(BM_FormatGeneral)->ArgName("P")->Arg(4)->Arg(15);

void BM_ParseFloatText(benchmark::State &State)
{
    SetDecimalSeparator(",");
    const std::string Text = State.range(0) == 0 ? "0,3" : "12345,678E-3";
    for (auto _ : State)
        benchmark::DoNotOptimize(ParseFloatText(Text));
    SetDecimalSeparator(".");
}
BENCHMARK(BM_ParseFloatText)->ArgName("long")->Arg(0)->Arg(1);

void BM_ParseIntText(benchmark::State &State)
{
    const std::string Text = "100";
    for (auto _ : State)
        benchmark::DoNotOptimize(ParseIntText(Text));
}
BENCHMARK(BM_ParseIntText);

} // namespace
