#pragma once
// The experiment engine: one pass per sample instant, the sample histories, the RC or
// matched filter and the measurements. The window owns one engine and reads its state.

#include <array>
#include <cstdint>
#include <experimental/propagate_const>
#include <memory>

#include "DSPTools.h"
#include "History.h"
#include "PeakWindow.h"
#include "WaveShaping.h"

// One pass's parameters, as the controls give them: the noise level, the delayed copy and
// the three kinds.
struct TPassParameters {
    double NoiseSD = 0;
    bool CopyEnabled = false;
    int32_t CopyShift = 0;
    TSimpleKind SimpleKind = skRectangle;
    TComplexKind ComplexKind = ckNone;
    TFilterKind FilterKind = fkRC;
};

// The engine's figures, histories and owned parts. Histories and peak windows are read in
// time order, entry 0 the oldest. Through a const reference the owned generator and sections
// are const as well.
struct TExperimentState {
    static constexpr int HistLen = 256;
    static constexpr int MaxDelay = 100;
    static constexpr int OutHistLen = HistLen + MaxDelay;
    // One pulse period: the length of the peak windows and of the matched filter's sum.
    static constexpr int32_t WindowLen = TWaveForm::MaxPeriodSamples;
    static_assert(WindowLen <= HistLen && WindowLen <= TFIRKernel::MaxLength);
    // The pole of the RC sections in use until the first time constant is set.
    static constexpr double RCPole = 0.8;

    THistory<HistLen> SignalHist;
    THistory<HistLen> NoiseHist;
    THistory<HistLen> InputHist;
    TPeakWindow<WindowLen> InPeakWin;
    TPeakWindow<WindowLen> OutPeakWin;
    THistory<OutHistLen> OutSignalHist;
    THistory<OutHistLen> OutNoiseHist;
    THistory<OutHistLen> OutputHist;
    TSignalSample CurSample{};
    double InPeak = 0, InNoiseRms = 0, InNoiseMs = 0, InSnr = 0;
    double OutPeak = 0, OutNoiseRms = 0, OutNoiseMs = 0, OutSnr = 0;
    bool StatsValid = false;
    std::experimental::propagate_const<std::unique_ptr<TWaveForm>> Generator;
    std::experimental::propagate_const<std::unique_ptr<TIIRFilter>> InputFilter;
    std::experimental::propagate_const<std::unique_ptr<TIIRFilter>> SignalFilter;
    std::experimental::propagate_const<std::unique_ptr<TIIRFilter>> NoiseFilter;
    // Passes averaged into the noise mean squares in the current run; held at INT32_MAX
    // once it gets there.
    int32_t AvgCount = 0;
};

class TExperiment : private TExperimentState {
public:
    using TExperimentState::HistLen;
    using TExperimentState::MaxDelay;
    using TExperimentState::OutHistLen;

    // Creation: the standard generator and three RC sections of pole RCPole.
    TExperiment();
    // Releases the generator and the three sections, in this order.
    ~TExperiment();
    TExperiment(const TExperiment &) = delete;
    TExperiment &operator=(const TExperiment &) = delete;

    // Start of a run (Start, or Start during a run): AvgCount := 0, nothing else.
    void StartRun();

    // One pass: the next sample of signal and noise enters the histories, goes through the RC
    // sections or the matched filter into the output histories, the peaks, noise statistics
    // and signal-to-noise ratios are updated, and the generator's time advances.
    // Floating-point faults raise EZeroDivide, EOverflow or EInvalidOp; the steps before
    // the fault keep their effect.
    void Pass(const TPassParameters &P);

    // A parameter changed: the next pass restarts the noise statistics.
    void MarkStatsStale() { StatsValid = false; }

    // Replaces the three RC sections with sections of pole exp(-1/tau) and marks the
    // statistics stale. tau = 0 raises EZeroDivide, an overflowing exponential EOverflow;
    // on an error nothing changes.
    void SetTimeConstant(long double tau);

    // What the window and the tests read; only the engine writes it.
    const TExperimentState &State() const { return *this; }
    // For tests only: plants a state that a run would take long to reach.
    TExperimentState &StateForTest() { return *this; }

private:
    void FilterRC(double &Output, double &Signal, double &Noise);
    void Correlate(TSimpleKind SimpleKind, TComplexKind ComplexKind, double &Output, double &Signal,
                   double &Noise);
    void PrepareKernel(TSimpleKind SimpleKind, TComplexKind ComplexKind);
    void FoldNoiseStatistics(double x, double y);
    void RestartStatistics();

    // The matched filter's reference and gain, loaded into the kernel. They depend only on
    // the signal kinds and the generator, so they are loaded again only when one of them, or
    // the generator's record of the last reference length (which gives the output delay),
    // has changed.
    TFIRKernel Kernel;
    std::array<double, WindowLen> Reference{};
    const TWaveForm *RefGenerator = nullptr;
    TSimpleKind RefSimpleKind = skNone;
    TComplexKind RefComplexKind = ckNone;
    int32_t RefLength = -1;
};
