// Runs the engine through a fixed set of scenarios and prints every figure and history as
// hexadecimal bit patterns, one value per line. The output is compared with a stored copy,
// so any change in the engine's arithmetic shows up as a differing line.
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "Errors.h"
#include "Experiment.h"
#include "WaveShaping.h"

namespace {

void Put(const char *Name, double v)
{
    std::printf("%s %016" PRIx64 "\n", Name, std::bit_cast<uint64_t>(v));
}

// Every entry in time order, oldest first.
template <typename THist>
void PutAll(const char *Name, const THist &Values, int Size)
{
    for (int i = 0; i < Size; ++i)
        Put(Name, Values[i]);
}


void Dump(const TExperiment &E)
{
    const TExperimentState &S = E.State();
    Put("InPeak", S.InPeak);
    Put("InNoiseRms", S.InNoiseRms);
    Put("InNoiseMs", S.InNoiseMs);
    Put("InSnr", S.InSnr);
    Put("OutPeak", S.OutPeak);
    Put("OutNoiseRms", S.OutNoiseRms);
    Put("OutNoiseMs", S.OutNoiseMs);
    Put("OutSnr", S.OutSnr);
    Put("Signal", S.CurSample.Signal);
    Put("Noise", S.CurSample.Noise);
    std::printf("AvgCount %d StatsValid %d\n", S.AvgCount, S.StatsValid ? 1 : 0);
    PutAll("SignalHist", S.SignalHist, TExperiment::HistLen);
    PutAll("NoiseHist", S.NoiseHist, TExperiment::HistLen);
    PutAll("InputHist", S.InputHist, TExperiment::HistLen);
    PutAll("InPeakWin", S.InPeakWin, S.WindowLen);
    PutAll("OutPeakWin", S.OutPeakWin, S.WindowLen);
    PutAll("OutSignalHist", S.OutSignalHist, TExperiment::OutHistLen);
    PutAll("OutNoiseHist", S.OutNoiseHist, TExperiment::OutHistLen);
    PutAll("OutputHist", S.OutputHist, TExperiment::OutHistLen);
}

struct Scenario {
    double Sigma;
    bool Copy;
    int32_t Delay;
    int32_t Simple;
    int32_t Complex;
    int32_t Filter;
    int Passes;
};

void PassLogged(TExperiment &E, const Scenario &s)
{
    try {
        E.Pass({s.Sigma, s.Copy, s.Delay, static_cast<TSimpleKind>(s.Simple), static_cast<TComplexKind>(s.Complex),
                static_cast<TFilterKind>(s.Filter)});
    } catch (const Exception &e) {
        std::printf("error %s\n", e.what());
    }
}

void Run(int Id, const Scenario &s)
{
    RandomSeed = static_cast<uint32_t>(Id) * 2654435761u;
    TExperiment E;
    E.StartRun();
    std::printf("scenario %d sigma %a copy %d delay %d simple %d complex %d filter %d\n", Id, s.Sigma,
                s.Copy ? 1 : 0, s.Delay, s.Simple, s.Complex, s.Filter);
    for (int p = 0; p < s.Passes; ++p) {
        PassLogged(E, s);
        // A parameter change and a new time constant part way, as the window makes them.
        if (p == s.Passes / 3)
            E.MarkStatsStale();
        if (p == s.Passes / 2) {
            try {
                E.SetTimeConstant(Id % 2 ? 2.5L : 0.0L);
            } catch (const Exception &e) {
                std::printf("tau error %s\n", e.what());
            }
        }
    }
    Dump(E);
}

} // namespace

int main()
{
    const double Sigmas[] = {0.0, 0.3, 1.0, 1e150, 1e300};
    const struct { bool Copy; int32_t Delay; } Copies[] = {{false, 0}, {true, 0}, {true, 7}, {true, 100}, {true, 250}};
    std::vector<Scenario> All;
    for (int32_t f = fkRC; f <= fkMatched; ++f)
        for (int32_t c = ckNone; c <= ckBarker; ++c)
            for (int32_t k = skRectangle; k <= skTriangle; ++k)
                for (const auto &cp : Copies)
                    All.push_back({Sigmas[All.size() % 5], cp.Copy, cp.Delay, k, c, f, 420});
    for (double s : Sigmas)
        All.push_back({s, true, 30, skTriangle, ckLfm, fkMatched, 700});
    int Id = 0;
    for (const Scenario &s : All)
        Run(Id++, s);
    return 0;
}
