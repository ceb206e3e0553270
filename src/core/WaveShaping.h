#pragma once
// The test-signal generator with its time base, the matched-filter reference, and the
// process-wide noise source.

#include <array>
#include <cstdint>

struct TSignalSample {
    double Signal; // clean signal of the current instant
    double Noise;  // noise of the current instant
};

// State of the uniform generator: 0 at program start, never seeded or reset.
extern uint32_t RandomSeed;

double UniformRandom();                           // in [0, 1), advances RandomSeed
double GaussianRandom(double Mean, double StdDev); // polar method, one value per call

class TWaveForm {
public:
    static constexpr int MaxPeriodSamples = 200; // capacity of FPulse and FReference
    static constexpr int CopyCapacity = 300;     // capacity of FCopy

    TWaveForm(int32_t PeriodToWidth, double SampleRate, double RepetitionRate);

    void AdvanceTime();
    TSignalSample GenerateSample(int32_t SimpleKind, int32_t ComplexKind, double NoiseSD,
                                 bool CopyEnabled, int32_t CopyShift);

    // Writes Dest[0 .. FPeriodSamples-1] (zeros beyond the reference length) and sets FReferenceLength.
    void BuildReference(int32_t SimpleKind, int32_t ComplexKind, std::array<double, MaxPeriodSamples> &Dest);
    double ReferenceGain(int32_t ComplexKind) const;
    int32_t OutputDelay(int32_t FilterKind) const;

    // Read-only views of the state, for the engine and the tests.
    int32_t PeriodToWidth() const { return FPeriodToWidth; }
    double SampleRate() const { return FSampleRate; }
    double RepetitionRate() const { return FRepetitionRate; }
    double Phase() const { return FPhase; }
    double TimeStep() const { return FTimeStep; }
    double Period() const { return FPeriod; }
    double PulseWidth() const { return FPulseWidth; }
    double LfmDuration() const { return FLfmDuration; }
    double SimpleValue() const { return FSimpleValue; }
    double NoiseValue() const { return FNoiseValue; }
    double Carrier() const { return FCarrier; }
    double Deviation() const { return FDeviation; }
    double ChirpRate() const { return FChirpRate; }
    int32_t PulseSamples() const { return FPulseSamples; }
    int32_t LfmSamples() const { return FLfmSamples; }
    int32_t SampleIndex() const { return FSampleIndex; }
    int32_t PeriodSamples() const { return FPeriodSamples; }
    int32_t ReferenceLength() const { return FReferenceLength; }
    const std::array<double, MaxPeriodSamples> &Pulse() const { return FPulse; }
    const std::array<double, CopyCapacity> &Copy() const { return FCopy; }
    const std::array<double, MaxPeriodSamples> &ReferenceWorkArea() const { return FReference; }

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
    std::array<double, MaxPeriodSamples> FReference{};
    double FCarrier = 0;
    double FDeviation = 0;
    double FChirpRate = 0;
    int32_t FPulseSamples = 0;
    int32_t FLfmSamples = 0;
    int32_t FSampleIndex = 0;
    int32_t FPeriodSamples = 0;
    int32_t FReferenceLength = 0;
    // Further private members (caches of the pulse tables and references per kind) as the
    // implementation needs them.
};
