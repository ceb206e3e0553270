#include "Experiment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Errors.h"
#include "FloatFaults.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int32_t StdPeriodToWidth = 10;
constexpr double StdSampleRate = 2000.0;
constexpr double StdRepetitionRate = 10.0;
constexpr double DefaultPole = 0.8;

constexpr int NewestIn = TExperiment::HistLen - 1;

// Moves entries 1 .. Count of a history to 0 .. Count - 1; the oldest entry drops out.
template <std::size_t Size>
void ShiftDown(std::array<double, Size> &Hist, std::size_t Count)
{
    std::copy(Hist.begin() + 1, Hist.begin() + 1 + Count, Hist.begin());
}

// The windows hold magnitudes (never NaN, never -0), so the maximum does not depend on the
// order of the scan; independent partial maxima keep the comparisons out of one long chain.
double WindowMax(const std::array<double, TExperiment::PeakWinLen> &W)
{
    static_assert(TExperiment::PeakWinLen % 8 == 0);
#if defined(__SSE2__)
    __m128d m0 = _mm_loadu_pd(&W[0]), m1 = _mm_loadu_pd(&W[2]);
    __m128d m2 = _mm_loadu_pd(&W[4]), m3 = _mm_loadu_pd(&W[6]);
    for (int i = 8; i < TExperiment::PeakWinLen; i += 8) {
        m0 = _mm_max_pd(m0, _mm_loadu_pd(&W[i]));
        m1 = _mm_max_pd(m1, _mm_loadu_pd(&W[i + 2]));
        m2 = _mm_max_pd(m2, _mm_loadu_pd(&W[i + 4]));
        m3 = _mm_max_pd(m3, _mm_loadu_pd(&W[i + 6]));
    }
    m0 = _mm_max_pd(_mm_max_pd(m0, m1), _mm_max_pd(m2, m3));
    return std::max(_mm_cvtsd_f64(m0), _mm_cvtsd_f64(_mm_unpackhi_pd(m0, m0)));
#else
    double m[4] = {W[0], W[1], W[2], W[3]};
    for (int i = 4; i < TExperiment::PeakWinLen; i += 4)
        for (int j = 0; j < 4; ++j)
            m[j] = std::max(m[j], W[i + j]);
    return std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
#endif
}

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

constexpr auto AllReferenceIndexes = [] {
    std::array<int16_t, TWaveForm::MaxPeriodSamples> a{};
    for (int i = 0; i < TWaveForm::MaxPeriodSamples; ++i)
        a[i] = static_cast<int16_t>(i);
    return a;
}();

} // namespace

TExperiment::TExperiment()
{
    WindowLen = static_cast<int32_t>(std::nearbyint(StdSampleRate / StdRepetitionRate));
    Generator = std::make_unique<TWaveForm>(StdPeriodToWidth, StdSampleRate, StdRepetitionRate);
    RCPole = DefaultPole;
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

void TExperiment::Pass(double Sigma, bool CopyEnabled, int32_t CopyDelay, int32_t SimpleKind,
                       int32_t ComplexKind, int32_t FilterKind)
{
    const TSignalSample Sample =
        Generator->GenerateSample(SimpleKind, ComplexKind, Sigma, CopyEnabled, CopyDelay);
    // The generator raises on a noise value beyond the range itself; whatever it returns, no
    // non-finite sample may enter the histories.
    StoreDouble(Sample.Signal);
    StoreDouble(Sample.Noise);
    CurSample = Sample;

    // Formed before the shift so that a fault cannot leave the three histories out of step.
    const double Input = StoreDouble(static_cast<long double>(CurSample.Signal) + CurSample.Noise);
    ShiftDown(SignalHist, HistLen - 1);
    ShiftDown(NoiseHist, HistLen - 1);
    ShiftDown(InputHist, HistLen - 1);
    SignalHist[NewestIn] = CurSample.Signal;
    NoiseHist[NewestIn] = CurSample.Noise;
    InputHist[NewestIn] = Input;

    // The outputs are formed in locals and reach the histories only when all three are
    // sound.
    double Output, Signal, Noise;
    if (FilterKind == fkRC)
        FilterRC(Output, Signal, Noise);
    else
        Correlate(SimpleKind, ComplexKind, Output, Signal, Noise);

    // The standard generator reports 0, 20, 65 or 100; anything else must not reach past
    // the output histories.
    const int d = std::clamp<int32_t>(Generator->OutputDelay(FilterKind), 0, MaxDelay);
    const int NewestOut = NewestIn + d;
    ShiftDown(OutputHist, NewestOut);
    ShiftDown(OutSignalHist, NewestOut);
    ShiftDown(OutNoiseHist, NewestOut);
    OutputHist[NewestOut] = Output;
    OutSignalHist[NewestOut] = Signal;
    OutNoiseHist[NewestOut] = Noise;

    ShiftDown(InPeakWin, PeakWinLen - 1);
    ShiftDown(OutPeakWin, PeakWinLen - 1);
    InPeakWin[PeakWinLen - 1] = std::fabs(SignalHist[NewestIn]);
    OutPeakWin[PeakWinLen - 1] = std::fabs(OutSignalHist[NewestIn]);
    InPeak = WindowMax(InPeakWin);
    OutPeak = WindowMax(OutPeakWin);

    if (StatsValid)
        FoldNoiseStatistics(NoiseHist[NewestIn], OutNoiseHist[NewestOut]);
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
    Output = ProcessChecked(*InputFilter, InputHist[NewestIn]);
    Signal = ProcessChecked(*SignalFilter, SignalHist[NewestIn]);
    Noise = ProcessChecked(*NoiseFilter, NoiseHist[NewestIn]);
}

void TExperiment::PrepareReference(int32_t SimpleKind, int32_t ComplexKind)
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
    RefTermCount = 0;
    for (int i = 0; i < PeakWinLen; ++i)
        if (Reference[i] != 0)
            RefTerms[RefTermCount++] = static_cast<int16_t>(i);
}

// Each output is the sum over i = 0 .. 199, ascending, of ((hist[56 + i] * Reference[i]) / N) * g,
// every term at extended precision and the running sum rounded to 64 bits after each addition.
//
// Only the terms with a non-zero reference entry are added, and the result is bit-identical:
// the histories and the gain are finite, so a term with Reference[i] = +-0 is itself +-0.
// The running sum starts at +0, and a rounded sum is -0 only when both addends are -0, so
// the sum is never -0; adding +-0 to a sum that is not -0 returns that sum unchanged
// (+0 + -0 = +0, x + +-0 = x for x != 0, inf + +-0 = inf). A gain that is not finite would
// turn the zero terms into NaN, so then every term is added.
void TExperiment::Correlate(int32_t SimpleKind, int32_t ComplexKind, double &Output, double &Signal,
                            double &Noise)
{
    PrepareReference(SimpleKind, ComplexKind);
    const long double g = Generator->ReferenceGain(ComplexKind);
    const long double N = WindowLen;

    const int16_t *Terms = RefTerms.data();
    int32_t Count = RefTermCount;
    if (!std::isfinite(g)) [[unlikely]] {
        Terms = AllReferenceIndexes.data();
        Count = PeakWinLen;
    }

    double SumIn = 0.0, SumSignal = 0.0, SumNoise = 0.0;
    const double *In = InputHist.data() + CorrelationStart;
    const double *Sig = SignalHist.data() + CorrelationStart;
    const double *Noi = NoiseHist.data() + CorrelationStart;
    for (int32_t t = 0; t < Count; ++t) {
        const int i = Terms[t];
        const long double r = Reference[i];
        SumIn = static_cast<double>(SumIn + ((In[i] * r) / N) * g);
        SumSignal = static_cast<double>(SumSignal + ((Sig[i] * r) / N) * g);
        SumNoise = static_cast<double>(SumNoise + ((Noi[i] * r) / N) * g);
    }
    // Every term is finite, so a sum that has left the 64-bit range has overflowed and stays
    // infinite; a NaN can only come from a non-finite operand.
    Output = StoreDouble(SumIn);
    Signal = StoreDouble(SumSignal);
    Noise = StoreDouble(SumNoise);
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
    NoiseHist.fill(0.0);
    OutNoiseHist.fill(0.0);
    InputFilter->Reset();
    SignalFilter->Reset();
    NoiseFilter->Reset();
    StatsValid = true;
}
