#pragma once
// The test-signal generator with its time base, the matched-filter reference, and the
// process-wide noise source.

#include <array>
#include <cstdint>

// The kinds as the window's radio groups number them (their item indexes); exactly one of
// the simple and the complex kind is none (-1).
enum TSimpleKind : int32_t { skNone = -1, skRectangle = 0, skRisingRamp = 1, skFallingRamp = 2, skTriangle = 3 };
enum TComplexKind : int32_t { ckNone = -1, ckLfm = 0, ckBarker = 1 };
enum TFilterKind : int32_t { fkRC = 0, fkMatched = 1 };

struct TSignalSample {
    double Signal; // clean signal of the current instant
    double Noise;  // noise of the current instant
};

// State of the uniform generator: 0 at program start, never seeded or reset.
extern uint32_t RandomSeed;

double UniformRandom();                           // in [0, 1), advances RandomSeed
// Polar method, one value per call. A value beyond the 64-bit range raises EOverflow, a
// value that is not a number EInvalidOp.
double GaussianRandom(double Mean, double StdDev);

class TWaveForm {
public:
    static constexpr int MaxPeriodSamples = 200; // capacity of FPulse and the references
    static constexpr int CopyCapacity = 300;     // capacity of FCopy

    // A period or pulse of more samples than the tables hold raises EArgumentError; a zero
    // rate or ratio EZeroDivide.
    TWaveForm(int32_t PeriodToWidth, double SampleRate, double RepetitionRate);

    // FSampleIndex always stays within 0 .. FPeriodSamples-1.
    void AdvanceTime();
    // The copy's entry i is the pulse's entry i - CopyShift where that lies within the period
    // and 0 elsewhere, for any CopyShift. Noise beyond the 64-bit range raises EOverflow.
    TSignalSample GenerateSample(TSimpleKind SimpleKind, TComplexKind ComplexKind, double NoiseSD,
                                 bool CopyEnabled, int32_t CopyShift);

    // Writes Dest[0 .. FPeriodSamples-1] (zeros beyond the reference length) and sets FReferenceLength.
    void BuildReference(TSimpleKind SimpleKind, TComplexKind ComplexKind, std::array<double, MaxPeriodSamples> &Dest);
    double ReferenceGain(TComplexKind ComplexKind) const;
    int32_t OutputDelay(TFilterKind FilterKind) const;

    // Read-only views of the state, for the engine and the tests.
    double Phase() const { return FPhase; }
    double TimeStep() const { return FTimeStep; }
    double PulseWidth() const { return FPulseWidth; }
    double LfmDuration() const { return FLfmDuration; }
    double NoiseValue() const { return FNoiseValue; }
    double ChirpRate() const { return FChirpRate; }
    int32_t PulseSamples() const { return FPulseSamples; }
    int32_t SampleIndex() const { return FSampleIndex; }
    int32_t PeriodSamples() const { return FPeriodSamples; }
    int32_t ReferenceLength() const { return FReferenceLength; }
    const std::array<double, MaxPeriodSamples> &Pulse() const { return FPulse; }
    const std::array<double, CopyCapacity> &Copy() const { return FCopy; }

private:
    int32_t FPeriodToWidth = 0;
    double FSampleRate = 0;
    double FRepetitionRate = 0;
    double FPhase = 0;
    double FTimeStep = 0;
    double FPeriod = 0;
    double FPulseWidth = 0;
    double FLfmDuration = 0;
    double FSimpleValue = 0;
    double FNoiseValue = 0;
    std::array<double, MaxPeriodSamples> FPulse{};
    std::array<double, CopyCapacity> FCopy{};
    double FCarrier = 0;
    double FDeviation = 0;
    double FChirpRate = 0;
    int32_t FPulseSamples = 0;
    int32_t FLfmSamples = 0;
    int32_t FSampleIndex = 0;
    int32_t FPeriodSamples = 0;
    int32_t FReferenceLength = 0;

    // The pulse tables and references depend only on the kind and the construction values,
    // so they are built once, in the constructor; FPulse, FCopy and Dest are filled from them.
    using TTable = std::array<double, MaxPeriodSamples>;
    static constexpr int KindCount = 4 + 2;  // simple shapes 0..3, then LFM and Barker
    static constexpr int LfmKind = 4;
    static constexpr int BarkerKind = 5;

    void BuildTables();
    double LfmValue(int32_t i) const;
    double SimpleShape(TSimpleKind SimpleKind) const;
    void LoadPulse(TComplexKind ComplexKind);
    void UpdateCopy(int32_t CopyShift);

    TTable FLfmPulse{};
    TTable FBarkerPulse{};
    std::array<TTable, KindCount> FReferences{};
    double FLfmGain = 0;
    double FBarkerGain = 0;
    // What FPulse and FCopy hold now: the complex kind last loaded (-1: none yet, all zero) and
    // the kind and shift FCopy was last built from.
    TComplexKind FPulseKind = ckNone;
    TComplexKind FCopyPulseKind = ckNone;
    int32_t FCopyShift = 0;
};
