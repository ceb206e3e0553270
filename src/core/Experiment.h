#pragma once
// The experiment engine: one pass per sample instant, the sample histories, the RC or
// matched filter and the measurements. The window owns one engine and reads its state.

#include <array>
#include <cstdint>
#include <experimental/propagate_const>
#include <memory>

#include "DSPTools.h"
#include "WaveShaping.h"

// The engine's figures, histories and owned parts. Through a const reference the owned
// generator and sections are const as well.
struct TExperimentState {
    static constexpr int HistLen = 256;
    static constexpr int MaxDelay = 100;
    static constexpr int OutHistLen = HistLen + MaxDelay;
    static constexpr int PeakWinLen = 200;

    int32_t WindowLen = 0;
    std::array<double, HistLen> SignalHist{};
    std::array<double, HistLen> NoiseHist{};
    std::array<double, HistLen> InputHist{};
    std::array<double, PeakWinLen> InPeakWin{};
    std::array<double, PeakWinLen> OutPeakWin{};
    std::array<double, OutHistLen> OutSignalHist{};
    std::array<double, OutHistLen> OutNoiseHist{};
    std::array<double, OutHistLen> OutputHist{};
    TSignalSample CurSample{};
    double InPeak = 0, InNoiseRms = 0, InNoiseMs = 0, InSnr = 0;
    double OutPeak = 0, OutNoiseRms = 0, OutNoiseMs = 0, OutSnr = 0;
    bool StatsValid = false;
    std::experimental::propagate_const<std::unique_ptr<TWaveForm>> Generator;
    std::experimental::propagate_const<std::unique_ptr<TIIRFilter>> InputFilter;
    std::experimental::propagate_const<std::unique_ptr<TIIRFilter>> SignalFilter;
    std::experimental::propagate_const<std::unique_ptr<TIIRFilter>> NoiseFilter;
    double RCPole = 0;
    // Passes averaged into the noise mean squares in the current run; held at INT32_MAX
    // once it gets there.
    int32_t AvgCount = 0;
};

class TExperiment : private TExperimentState {
public:
    using TExperimentState::HistLen;
    using TExperimentState::MaxDelay;
    using TExperimentState::OutHistLen;
    using TExperimentState::PeakWinLen;
    // First history index that takes part in the matched filter's sum.
    static constexpr int CorrelationStart = HistLen - PeakWinLen;

    // Creation: window length, the standard generator, RCPole 0.8 and three RC sections.
    TExperiment();
    // Releases the generator and the three sections, in this order.
    ~TExperiment();
    TExperiment(const TExperiment &) = delete;
    TExperiment &operator=(const TExperiment &) = delete;

    // Start of a run (Start, or Start during a run): AvgCount := 0, nothing else.
    void StartRun();

    // One pass with this pass's converted parameters: the next sample of signal and noise
    // enters the histories, goes through the RC sections or the matched filter into the
    // output histories, the peaks, noise statistics and signal-to-noise ratios are updated,
    // and the generator's time advances.
    // Floating-point faults raise EZeroDivide, EOverflow or EInvalidOp; the steps before
    // the fault keep their effect.
    void Pass(double Sigma, bool CopyEnabled, int32_t CopyDelay, int32_t SimpleKind,
              int32_t ComplexKind, int32_t FilterKind);

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
    void Correlate(int32_t SimpleKind, int32_t ComplexKind, double &Output, double &Signal,
                   double &Noise);
    void PrepareReference(int32_t SimpleKind, int32_t ComplexKind);
    void FoldNoiseStatistics(double x, double y);
    void RestartStatistics();

    // The matched filter's reference. It depends only on the signal kinds and the
    // generator, so it is built again only when one of them, or the generator's record of
    // the last reference length (which gives the output delay), has changed.
    std::array<double, TWaveForm::MaxPeriodSamples> Reference{};
    const TWaveForm *RefGenerator = nullptr;
    int32_t RefSimpleKind = 0;
    int32_t RefComplexKind = 0;
    int32_t RefLength = -1;
    // Indexes of the reference's non-zero entries, ascending.
    std::array<int16_t, TWaveForm::MaxPeriodSamples> RefTerms{};
    int32_t RefTermCount = 0;
};
