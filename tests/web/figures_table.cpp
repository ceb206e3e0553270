// What the window shows over a table of runs: the seven figure texts and what the three charts
// draw, for every signal, both filters and a few noise levels, after several pass counts. Built
// for the desktop and for WebAssembly, where long double is binary128 and not x87's 80 bits;
// the two outputs must be the same text.
//   figures_table            the table
//   figures_table --bits     every engine value of the same runs as a bit pattern
//   paste A B | figures_table --ulps
//                            how many values of two --bits outputs differ, and by how many
//                            units in the last place at most
#include <algorithm>
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "ChartPanel.h"
#include "Display.h"
#include "Experiment.h"
#include "FakeCanvas.h"
#include "NumberSettings.h"
#include "NumberText.h"
#include "WaveShaping.h"

namespace {

struct TSignal {
    const char *Name;
    TSimpleKind Simple;
    TComplexKind Complex;
    bool Copy;
    int32_t Delay;
};

constexpr TSignal Signals[] = {
    {"rectangle", skRectangle, ckNone, false, 0},   {"rising", skRisingRamp, ckNone, false, 0},
    {"falling", skFallingRamp, ckNone, false, 0},   {"triangle", skTriangle, ckNone, false, 0},
    {"lfm", skNone, ckLfm, false, 0},               {"lfm+copy30", skNone, ckLfm, true, 30},
    {"lfm+copy100", skNone, ckLfm, true, 100},      {"barker", skNone, ckBarker, false, 0},
    {"barker+copy30", skNone, ckBarker, true, 30},  {"barker+copy100", skNone, ckBarker, true, 100},
};
constexpr double NoiseLevels[] = {0, 0.3, 1, 2.5};
constexpr int Checkpoints[] = {1, 199, 1000, 5000};

// The three charts as the window lays them out.
struct TCharts {
    TChartPanel Panels[3];
    TLineSeries *Series[3];
    TCharts()
    {
        for (int i = 0; i < 3; ++i) {
            Series[i] = Panels[i].AddLineSeries();
            Panels[i].SetNumberSeparators({",", "\xC2\xA0"});
            ShapeChart(Panels[i], i);
        }
    }
    void Print(const TExperimentState &S)
    {
        const THistory<TExperiment::HistLen> *Hists[3] = {&S.SignalHist, &S.InputHist, nullptr};
        for (int i = 0; i < 3; ++i) {
            Series[i]->RemoveAllPoints();
            for (int k = 0; k < TExperiment::HistLen; ++k)
                Series[i]->AppendValue(Hists[i] ? (*Hists[i])[k] : S.OutputHist[k]);
            TFakeCanvas Canvas;
            Panels[i].Draw(Canvas, {0, 0, 401, i == 0 ? 240 : 241});
            std::printf("  chart%d", i + 1);
            for (const auto &Text : Canvas.Texts)
                std::printf(" '%s'@%d,%d", Text.Text.c_str(), Text.X, Text.Y);
            for (const auto &Line : Canvas.Polylines) {
                std::printf("\n   ");
                for (const TChartPoint &P : Line)
                    std::printf(" %d,%d", P.X, P.Y);
            }
            std::printf("\n");
        }
    }
};

// The seven figure texts and the three bar positions as the window and the page show them.
void PrintFigures(const TExperimentState &S)
{
    TDisplay Display;
    Display.Refresh(S);
    const auto &F = Display.Figures;
    std::printf("  %s %s %s | %s %s %s | %s | %d %d %d\n", F[0].c_str(), F[1].c_str(), F[2].c_str(), F[3].c_str(),
                F[4].c_str(), F[5].c_str(), F[6].c_str(), Display.Bars[0], Display.Bars[1], Display.Bars[2]);
}

void PutBits(const char *Name, double v) { std::printf("%s %016" PRIx64 "\n", Name, std::bit_cast<uint64_t>(v)); }

template <class H> void PutAllBits(const char *Name, const H &Hist)
{
    for (double v : Hist)
        PutBits(Name, v);
}

void PrintBits(const TExperimentState &S)
{
    const double Figures[] = {S.InPeak, S.InNoiseRms, S.InNoiseMs, S.InSnr, S.OutPeak, S.OutNoiseRms, S.OutNoiseMs, S.OutSnr};
    for (double v : Figures)
        PutBits("figure", v);
    PutAllBits("SignalHist", S.SignalHist);
    PutAllBits("NoiseHist", S.NoiseHist);
    PutAllBits("InputHist", S.InputHist);
    PutAllBits("OutSignalHist", S.OutSignalHist);
    PutAllBits("OutNoiseHist", S.OutNoiseHist);
    PutAllBits("OutputHist", S.OutputHist);
}

int Table(bool Bits)
{
    SetDecimalSeparator(",");
    TCharts Charts;
    for (const TSignal &Signal : Signals)
        for (int Filter = fkRC; Filter <= fkMatched; ++Filter)
            for (double Noise : NoiseLevels) {
                // Each run as from a fresh start of the program, with the window's time constant.
                RandomSeed = 0;
                auto Engine = std::make_unique<TExperiment>();
                Engine->SetTimeConstant(5);
                Engine->StartRun();
                const TPassParameters P{Noise, Signal.Copy, Signal.Delay, Signal.Simple, Signal.Complex,
                                        static_cast<TFilterKind>(Filter)};
                int Done = 0;
                for (int Passes : Checkpoints) {
                    for (; Done < Passes; ++Done)
                        Engine->Pass(P);
                    std::printf("%s %s noise %g passes %d\n", Signal.Name, Filter == fkRC ? "rc" : "matched", Noise,
                                Passes);
                    if (Bits) {
                        PrintBits(Engine->State());
                    } else {
                        PrintFigures(Engine->State());
                        Charts.Print(Engine->State());
                    }
                }
            }
    return 0;
}

// Doubles as integers in the order of their values, so that the difference counts the
// representable values between them.
int64_t Ordered(uint64_t Bits)
{
    return Bits >> 63 ? -static_cast<int64_t>(Bits & ~(uint64_t{1} << 63)) : static_cast<int64_t>(Bits);
}

// Reads the two outputs side by side, a line of each per line (paste A B). A value near 0
// that differs little in absolute terms may be far away in units in the last place, so the
// largest absolute difference is told too.
int Ulps()
{
    std::string Line;
    long Values = 0, Differing = 0, ByOne = 0, ByFew = 0;
    uint64_t MostUlps = 0;
    double MostApart = 0;
    while (std::getline(std::cin, Line)) {
        char NameA[64], NameB[64];
        uint64_t BitsA, BitsB;
        if (std::sscanf(Line.c_str(), "%63s %" SCNx64 " %63s %" SCNx64, NameA, &BitsA, NameB, &BitsB) != 4)
            continue; // a heading
        ++Values;
        const int64_t a = Ordered(BitsA), b = Ordered(BitsB);
        const uint64_t Apart = a > b ? static_cast<uint64_t>(a - b) : static_cast<uint64_t>(b - a);
        Differing += Apart != 0;
        ByOne += Apart == 1;
        ByFew += Apart > 1 && Apart < 16;
        MostUlps = std::max(MostUlps, Apart);
        MostApart = std::max(MostApart, std::fabs(std::bit_cast<double>(BitsA) - std::bit_cast<double>(BitsB)));
    }
    std::printf("%ld of %ld engine values differ in their bits: %ld by 1 ulp, %ld by 2 to 15, %ld by more "
                "(at most %" PRIu64 " ulps); the largest difference is %g\n",
                Differing, Values, ByOne, ByFew, Differing - ByOne - ByFew, MostUlps, MostApart);
    return Values == 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--ulps") == 0)
        return Ulps();
    return Table(argc == 2 && std::strcmp(argv[1], "--bits") == 0);
}
