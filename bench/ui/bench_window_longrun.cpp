// The real window run offscreen for five minutes (or the seconds given as the first argument
// or in LONGRUN_SECONDS): one Start, the run going through both filter modes and every signal
// with the 500 ms display refresh as usual, then Stop and a close request. Resident memory is
// printed at the start, every minute and at the end; the program fails when it has grown past
// the first minute, when a figure is not a number, or when an error box appeared. With
// --memcheck (under valgrind, whose own memory is in the figure) growth is only printed.

#include <QEventLoop>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "ErrorBox.h"
#include "Experiment.h"
#include "DesktopScreen.h"
#include "TApplication.h"
#include "TButton.h"
#include "TForm1.h"
#include "TRadioGroup.h"
#include "TRunLoop.h"
#include "../ResidentMemory.h"

namespace {

// Above this the resident memory counts as grown: well beyond what one refresh allocates and
// frees, far below what a leak of a pass or a refresh adds up to over minutes.
constexpr long GrowthToleranceKiB = 1024;

void RunEventLoopFor(std::chrono::milliseconds Time)
{
    QEventLoop loop;
    QTimer::singleShot(Time, &loop, &QEventLoop::quit);
    loop.exec();
}

void RunEventLoopUntil(std::chrono::steady_clock::time_point End)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(End - std::chrono::steady_clock::now());
    RunEventLoopFor(std::max(left, std::chrono::milliseconds(0)));
}

struct TSetting {
    const char *Name;
    int SimpleKind;  // item of RadioGroup1, or -1
    int ComplexKind; // item of RadioGroup3, or -1
    int FilterKind;  // item of RadioGroup2
};

// Both filter modes with every signal, in an order that switches the filter at every step.
constexpr TSetting Settings[] = {
    {"RC, rectangle", 0, -1, 0},   {"matched, Barker", -1, 1, 1}, {"RC, LFM", -1, 0, 0},
    {"matched, rectangle", 0, -1, 1}, {"RC, triangle 1", 1, -1, 0}, {"matched, LFM", -1, 0, 1},
    {"RC, Barker", -1, 1, 0},      {"matched, triangle 3", 3, -1, 1}, {"RC, triangle 2", 2, -1, 0},
    {"matched, triangle 2", 2, -1, 1},
};

// As a user selects them: by clicks on the items.
void Select(TForm1 &Form, const TSetting &S)
{
    if (S.SimpleKind >= 0)
        Form.RadioGroup1->Button(S.SimpleKind)->click();
    else
        Form.RadioGroup3->Button(S.ComplexKind)->click();
    Form.RadioGroup2->Button(S.FilterKind)->click();
}

template <class THistory> bool AllFinite(const THistory &History)
{
    return std::all_of(History.begin(), History.end(), [](double v) { return std::isfinite(v); });
}

bool FiguresSound(const TExperimentState &E)
{
    for (double v : {E.InPeak, E.InNoiseRms, E.OutPeak, E.OutNoiseRms})
        if (!std::isfinite(v) || v < 0)
            return false;
    for (double v : {E.InSnr, E.OutSnr})
        if (std::isnan(v) || v < 0)
            return false;
    return AllFinite(E.SignalHist) && AllFinite(E.InputHist) && AllFinite(E.OutputHist) && AllFinite(E.NoiseHist) &&
           AllFinite(E.OutNoiseHist) && AllFinite(E.OutSignalHist);
}

double Seconds(std::chrono::steady_clock::duration D)
{
    return std::chrono::duration<double>(D).count();
}

int Duration(int argc, char **argv)
{
    const char *text = argc > 1 && argv[1][0] != '-' ? argv[1] : std::getenv("LONGRUN_SECONDS");
    const int seconds = text && *text ? std::atoi(text) : 300;
    return std::max(1, seconds);
}

} // namespace

int main(int argc, char **argv)
{
    UseDesktopScreenWhenOffscreen();
    TApplication application(argc, argv);
    const int duration = Duration(argc, argv);
    const bool memcheck = std::any_of(argv + 1, argv + argc, [](const char *a) { return std::string(a) == "--memcheck"; });
    // A report every minute; a shorter run reports five times.
    const int reportEvery = std::min(60, std::max(1, duration / 5));
    const int switchEvery = std::min(15, std::max(1, duration / 4));

    int boxes = 0;
    TErrorBox::Instance().SetHook([&boxes](const QString &, const QString &Text) {
        ++boxes;
        std::printf("error box: %s\n", Text.toUtf8().constData());
    });

    auto form = std::make_unique<TForm1>();
    form->show();
    RunEventLoopFor(std::chrono::milliseconds(200));
    const long startKiB = ResidentKiB();
    std::printf("window run for %d s, offscreen; settings switch every %d s\n", duration, switchEvery);
    std::printf("%8s %10s %14s  %s\n", "time s", "VmRSS KiB", "passes", "setting");
    std::printf("%8.1f %10ld %14s  %s\n", 0.0, startKiB, "-", "before Start");

    const auto start = std::chrono::steady_clock::now();
    size_t setting = 0;
    Select(*form, Settings[setting]);
    form->Button1->click();
    long firstReportKiB = -1, lastKiB = startKiB, peakAfterFirstKiB = 0;
    bool sound = true;
    for (int second = 1; second <= duration; ++second) {
        RunEventLoopUntil(start + std::chrono::seconds(second));
        if (!FiguresSound(form->EngineState())) {
            sound = false;
            std::printf("a figure or a history is not a finite number at %d s\n", second);
        }
        if (second % reportEvery == 0 || second == duration) {
            lastKiB = ResidentKiB();
            if (firstReportKiB < 0)
                firstReportKiB = lastKiB;
            else
                peakAfterFirstKiB = std::max(peakAfterFirstKiB, lastKiB);
            std::printf("%8.1f %10ld %14lld  %s\n", Seconds(std::chrono::steady_clock::now() - start), lastKiB,
                        static_cast<long long>(form->RunLoop().PassesMade()), Settings[setting].Name);
            std::fflush(stdout);
        }
        if (second % switchEvery == 0 && second < duration) {
            setting = (setting + 1) % std::size(Settings);
            Select(*form, Settings[setting]);
        }
    }

    const bool ran = form->RunLoop().State() == TRunLoop::TState::Active;
    form->Button2->click();
    form->close();
    RunEventLoopFor(std::chrono::milliseconds(100));
    const long stoppedKiB = ResidentKiB();
    std::printf("%8.1f %10ld %14lld  %s\n", Seconds(std::chrono::steady_clock::now() - start), stoppedKiB,
                static_cast<long long>(form->RunLoop().PassesMade()), "after Stop and close");
    form.reset();
    TErrorBox::Instance().SetHook({});

    const long growth = std::max(peakAfterFirstKiB, stoppedKiB) - firstReportKiB;
    const bool flat = memcheck || growth <= GrowthToleranceKiB;
    std::printf("resident memory: %ld KiB at start, %ld KiB after the first report, %ld KiB at the end: %s "
                "(%+ld KiB)\n",
                startKiB, firstReportKiB, stoppedKiB, memcheck ? "not judged" : flat ? "flat" : "GROWING", growth);
    std::printf("figures: %s; error boxes: %d; run %s\n", sound ? "all finite" : "NOT FINITE", boxes,
                ran ? "active to the end" : "NOT ACTIVE at the end");
    return flat && sound && boxes == 0 && ran ? 0 : 1;
}
