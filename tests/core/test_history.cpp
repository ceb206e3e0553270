// The rings the engine keeps its histories in, and the peak windows' maximum against the
// prescribed scan.

#include <gtest/gtest.h>

#include <vector>

#include "Experiment.h"
#include "History.h"
#include "PeakWindow.h"

namespace {

// The scan a peak must equal: from entry 0, taking an entry when it is greater.
template <class W>
double ScanMax(const W &Window)
{
    double m = Window[0];
    for (int i = 1; i < W::Size; ++i)
        if (Window[i] > m)
            m = Window[i];
    return m;
}

} // namespace

// Live lengths as the output delays set them; after each change the entries keep their
// places, entries above the live part stay as they were, and new entries enter at the top.
TEST(History, EntriesStayInTimeOrderAcrossLiveLengths)
{
    THistory<356> H;
    std::vector<double> Model(356, 0.0); // the shifting array the ring stands for
    double Next = 1;
    // Checked at once and after the first push as well, before later pushes overwrite the
    // entries that a change of live length moved.
    for (const int Live : {256, 276, 356, 321, 256, 356, 256}) {
        H.SetLiveLength(Live);
        for (int p = 0; p < 3 * Live + 7; ++p) {
            if (p < 2) {
                for (int i = 0; i < 356; ++i)
                    ASSERT_EQ(H[i], Model[i]) << "live " << Live << " pass " << p << " entry " << i;
            }
            H.Push(Next);
            Model.erase(Model.begin());
            Model.insert(Model.begin() + Live - 1, Next++);
        }
        for (int i = 0; i < 356; ++i)
            ASSERT_EQ(H[i], Model[i]) << "live " << Live << " entry " << i;
        const auto Run = H.Entries(56, 200);
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(Run[i], Model[56 + i]) << "live " << Live << " entry " << 56 + i;
        EXPECT_EQ(H.Newest(), Next - 1);
    }
    H.Fill(0.0);
    for (double v : H)
        EXPECT_EQ(v, 0.0);
}

// A spike at every position of a background, followed until it has left the window: the
// maximum equals the scan after every pass, for ties and for an all-zero window too.
TEST(PeakWindow, SpikeAtEveryPositionBeforeAndAfterItLeaves)
{
    constexpr int N = 200;
    const struct {
        const char *Name;
        double (*Background)(int Pass);
    } Backgrounds[] = {
        {"zeros", [](int) { return 0.0; }},
        {"ties", [](int) { return 0.5; }},
        {"rising", [](int p) { return p * 1e-3; }},
        {"falling", [](int p) { return 1.0 - p * 1e-3; }},
        {"sawtooth", [](int p) { return (p % 37) * 0.01; }},
    };
    for (const auto &B : Backgrounds)
        for (int Spike = 0; Spike < N; ++Spike) {
            TPeakWindow<N> W;
            for (int p = 0; p < 2 * N + Spike + 2; ++p) {
                W.Push(p == N + Spike ? 2.0 : B.Background(p));
                ASSERT_EQ(W.Max(), ScanMax(W)) << B.Name << " spike " << Spike << " pass " << p;
            }
        }
}

// The engine's two peaks are the maxima of their windows on every pass, through changes of
// signal and filter that leave old magnitudes in both windows.
TEST(PeakWindow, EnginePeaksAreTheScansOfBothWindows)
{
    TExperiment E;
    const TPassParameters Settings[] = {
        {0.3, false, 0, skRectangle, ckNone, fkRC},   {0.3, true, 30, skNone, ckBarker, fkMatched},
        {0.3, false, 0, skRisingRamp, ckNone, fkMatched}, {0.0, false, 0, skNone, ckLfm, fkRC},
        {0.3, false, 0, skNone, ckLfm, fkMatched},
    };
    for (const TPassParameters &P : Settings)
        for (int p = 0; p < 450; ++p) {
            E.Pass(P);
            ASSERT_EQ(E.State().InPeak, ScanMax(E.State().InPeakWin)) << p;
            ASSERT_EQ(E.State().OutPeak, ScanMax(E.State().OutPeakWin)) << p;
        }
}
