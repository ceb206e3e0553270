#include "Experiment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Errors.h"
#include "FloatFaults.h"

namespace {

constexpr int32_t StdPeriodToWidth = 10;
constexpr double StdSampleRate = 2000.0;
constexpr double StdRepetitionRate = 10.0;
// The generator's period in samples is this ratio, rounded.
static_assert(StdSampleRate / StdRepetitionRate == TExperimentState::WindowLen);

constexpr int NewestIn = TExperiment::HistLen - 1;

// After a call of Process, entries 1 .. L-1 of the histories are the ones that call used.
bool SectionStateFinite(const TIIRFilter &F)
{
    for (int32_t i = 0; i < F.Length(); ++i)
        if (!std::isfinite(F.B(i)) || !std::isfinite(F.A(i)) || (i > 0 && (!std::isfinite(F.X(i)) || !std::isfinite(F.Y(i)))))
            return false;
    return true;
}

// One step of an RC section, as a checked store. The section itself does not check: with a
// finite input and a finite state, a non-finite output (even a NaN from inf - inf) means the
// arithmetic overflowed. A NaN is an invalid operation only once the section already held a
// non-finite value.
double ProcessChecked(TIIRFilter &Section, double x)
{
    const double y = Section.Process(x);
    if (std::isfinite(y)) [[likely]]
        return y;
    if (std::isnan(y) && !SectionStateFinite(Section))
        throw EInvalidOp();
    throw EOverflow();
}

} // namespace

TExperiment::TExperiment()
{
    Generator = std::make_unique<TWaveForm>(StdPeriodToWidth, StdSampleRate, StdRepetitionRate);
    InputFilter = CreateRCSection(RCPole);
    SignalFilter = CreateRCSection(RCPole);
    NoiseFilter = CreateRCSection(RCPole);
}

TExperiment::~TExperiment()
{
    Generator = nullptr;
    InputFilter = nullptr;
    SignalFilter = nullptr;
    NoiseFilter = nullptr;
}

void TExperiment::StartRun()
{
    AvgCount = 0;
}

void TExperiment::SetTimeConstant(long double tau)
{
    const double k = RCPoleFromTimeConstant(tau);
    // All three are built before any is replaced, so a failure leaves the old ones in use.
    auto NewInput = CreateRCSection(k);
    auto NewSignal = CreateRCSection(k);
    auto NewNoise = CreateRCSection(k);
    InputFilter = std::move(NewInput);
    SignalFilter = std::move(NewSignal);
    NoiseFilter = std::move(NewNoise);
    StatsValid = false;
}

void TExperiment::Pass(const TPassParameters &P)
{
    const TSignalSample Sample =
        Generator->GenerateSample(P.SimpleKind, P.ComplexKind, P.NoiseSD, P.CopyEnabled, P.CopyShift);
    // The generator raises on a noise value beyond the range itself; whatever it returns, no
    // non-finite sample may enter the histories.
    StoreDouble(Sample.Signal);
    StoreDouble(Sample.Noise);
    CurSample = Sample;

    // Formed before the histories move so that a fault cannot leave the three out of step.
    const double Input = StoreDouble(static_cast<long double>(CurSample.Signal) + CurSample.Noise);
    SignalHist.Push(CurSample.Signal);
    NoiseHist.Push(CurSample.Noise);
    InputHist.Push(Input);

    // The outputs are formed in locals and reach the histories only when all three are
    // sound.
    double Output, Signal, Noise;
    if (P.FilterKind == fkRC) {
        FilterRC(Output, Signal, Noise);
    } else {
        Correlate(P.SimpleKind, P.ComplexKind, Output, Signal, Noise);
    }

    // The standard generator reports 0, 20, 65 or 100; anything else must not reach past
    // the output histories.
    const int d = std::clamp<int32_t>(Generator->OutputDelay(P.FilterKind), 0, MaxDelay);
    for (auto *Hist : {&OutputHist, &OutSignalHist, &OutNoiseHist})
        Hist->SetLiveLength(HistLen + d);
    OutputHist.Push(Output);
    OutSignalHist.Push(Signal);
    OutNoiseHist.Push(Noise);

    InPeakWin.Push(std::fabs(CurSample.Signal));
    OutPeakWin.Push(std::fabs(OutSignalHist[NewestIn]));
    InPeak = InPeakWin.Max();
    OutPeak = OutPeakWin.Max();

    if (StatsValid)
        FoldNoiseStatistics(CurSample.Noise, Noise);
    else
        RestartStatistics();

    // The zero test comes first: a division by zero would be a fault, zero noise means an
    // infinite ratio. A finite ratio too large for 64 bits is an overflow.
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    InSnr = InNoiseRms != 0 ? StoreDouble(static_cast<long double>(InPeak) / InNoiseRms) : Infinity;
    OutSnr = OutNoiseRms != 0 ? StoreDouble(static_cast<long double>(OutPeak) / OutNoiseRms) : Infinity;

    Generator->AdvanceTime();
}

void TExperiment::FilterRC(double &Output, double &Signal, double &Noise)
{
    Output = ProcessChecked(*InputFilter, InputHist.Newest());
    Signal = ProcessChecked(*SignalFilter, SignalHist.Newest());
    Noise = ProcessChecked(*NoiseFilter, NoiseHist.Newest());
}

void TExperiment::PrepareKernel(TSimpleKind SimpleKind, TComplexKind ComplexKind)
{
    if (RefGenerator == Generator.get() && RefSimpleKind == SimpleKind && RefComplexKind == ComplexKind
        && RefLength == Generator->ReferenceLength()) [[likely]]
        return;
    // A generator with a shorter period writes fewer entries; the rest must not keep an
    // older reference.
    Reference.fill(0.0);
    Generator->BuildReference(SimpleKind, ComplexKind, Reference);
    RefGenerator = Generator.get();
    RefSimpleKind = SimpleKind;
    RefComplexKind = ComplexKind;
    RefLength = Generator->ReferenceLength();
    // The kernel starts afresh with new taps.
    Kernel.SetTaps(Reference, Generator->ReferenceGain(ComplexKind), WindowLen);
}

// Each output is g / N times the sum of the newest WindowLen entries of its history, oldest
// first, each times its reference entry: the kernel's taps are the reference, its gain g and
// its divisor N = WindowLen.
void TExperiment::Correlate(TSimpleKind SimpleKind, TComplexKind ComplexKind, double &Output, double &Signal,
                            double &Noise)
{
    PrepareKernel(SimpleKind, ComplexKind);
    TFIRKernel::TOutputs Sums;
    Kernel.Run<HistLen>({&InputHist, &SignalHist, &NoiseHist}, Sums);
    // Every term is finite, so a sum that has left the 64-bit range has overflowed and stays
    // infinite; a NaN can only come from a non-finite operand.
    Output = StoreDouble(Sums[0]);
    Signal = StoreDouble(Sums[1]);
    Noise = StoreDouble(Sums[2]);
}

void TExperiment::FoldNoiseStatistics(double x, double y)
{
    // Once the count can grow no further each pass keeps being averaged with weight
    // 1 / 2^31; n + 1 is formed at extended precision, where it cannot overflow.
    const long double n = AvgCount;
    const long double n1 = n + 1;
    const long double X = x, Y = y;
    InNoiseMs = StoreDouble((X * X) / n1 + (n / n1) * InNoiseMs);
    InNoiseRms = StoreDouble(std::sqrt(static_cast<long double>(InNoiseMs)));
    OutNoiseMs = StoreDouble((Y * Y) / n1 + (n / n1) * OutNoiseMs);
    OutNoiseRms = StoreDouble(std::sqrt(static_cast<long double>(OutNoiseMs)));
    if (AvgCount < std::numeric_limits<int32_t>::max())
        ++AvgCount;
}

void TExperiment::RestartStatistics()
{
    InNoiseMs = 0.0;
    InNoiseRms = 0.0;
    OutNoiseMs = 0.0;
    OutNoiseRms = 0.0;
    AvgCount = 0;
    NoiseHist.Fill(0.0);
    OutNoiseHist.Fill(0.0);
    InputFilter->Reset();
    SignalFilter->Reset();
    NoiseFilter->Reset();
    StatsValid = true;
}
