// Figures of the running window, offscreen: passes per CPU-second inside the window against
// the bare engine in the same mode, the time from a click during a run to its handler, start to
// first paint, and resident memory while running.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Experiment.h"
#include "DesktopScreen.h"
#include "TApplication.h"
#include "TButton.h"
#include "TChart.h"
#include "TForm1.h"
#include "TTimer.h"
#include "TRadioGroup.h"
#include "TRunLoop.h"
#include "WindowScale.h"
#include "../ResidentMemory.h"

namespace {

enum TMode { RC = fkRC, Matched = fkMatched };

void RunEventLoopFor(int Milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(Milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ClickItem(TRadioGroup *Group, int Index)
{
    // Straight to the user's selection, as a click on the item does.
    Group->Button(Index)->click();
}

// The window set to the Barker code with the matched filter, or left at the rectangle
// pulses with the RC section.
std::unique_ptr<TForm1> MakeWindow(TMode Mode)
{
    auto form = std::make_unique<TForm1>();
    form->show();
    if (Mode == Matched) {
        ClickItem(form->RadioGroup3, ckBarker);
        ClickItem(form->RadioGroup2, fkMatched);
    }
    return form;
}

// The CPU time of this thread: the window's passes, its event handling and painting all run
// on it, and time the machine gives to other programs does not count.
double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Passes per CPU-second inside the running window against the bare engine in the same mode,
// both measured in this thread's CPU time, in alternating rounds of about 200 ms each, so that
// a change in the machine's load falls on both alike. The counters give the window's share of
// the engine's rate: the lowest, median and highest round.
void BM_WindowAgainstEngine(benchmark::State &State)
{
    const auto mode = static_cast<TMode>(State.range(0));
    const TPassParameters parameters{0.3, false, 0, mode == Matched ? skNone : skRectangle,
                                     mode == Matched ? ckBarker : ckNone, static_cast<TFilterKind>(mode)};
    // As the window builds it; the first passes, which build tables, are kept out.
    auto engine = std::make_unique<TExperiment>();
    engine->SetTimeConstant(5);
    engine->StartRun();
    for (int i = 0; i < 1000; ++i)
        engine->Pass(parameters);
    auto form = MakeWindow(mode);
    form->Button1->click();
    RunEventLoopFor(100);

    std::vector<double> shares;
    double windowRate = 0, engineRate = 0;
    for (auto _ : State) {
        const int64_t passesBefore = form->RunLoop().PassesMade();
        double start = ThreadCpuSeconds();
        RunEventLoopFor(200);
        const double windowSeconds = ThreadCpuSeconds() - start;
        windowRate = (form->RunLoop().PassesMade() - passesBefore) / windowSeconds;

        start = ThreadCpuSeconds();
        int64_t passes = 0;
        double engineSeconds = 0;
        do {
            for (int i = 0; i < 1000; ++i)
                engine->Pass(parameters);
            passes += 1000;
            engineSeconds = ThreadCpuSeconds() - start;
        } while (engineSeconds < windowSeconds);
        engineRate = passes / engineSeconds;
        benchmark::DoNotOptimize(engine->State().OutSnr);
        shares.push_back(windowRate / engineRate);
    }
    form->Button2->click();
    std::sort(shares.begin(), shares.end());
    State.counters["window_passes_per_cpu_s"] = windowRate;
    State.counters["engine_passes_per_cpu_s"] = engineRate;
    State.counters["share_min"] = shares.front();
    State.counters["share_median"] = shares[shares.size() / 2];
    State.counters["share_max"] = shares.back();
    State.SetLabel(mode == Matched ? "matched, Barker" : "RC, rectangle");
}
BENCHMARK(BM_WindowAgainstEngine)->Arg(RC)->Arg(Matched)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(9);

// A click on the filter group, posted into the event queue during a run, until its handler
// runs.
void BM_ClickToHandler(benchmark::State &State)
{
    auto form = MakeWindow(Matched);
    form->Button1->click();
    RunEventLoopFor(50);
    QElapsedTimer clock;
    int64_t handled = -1;
    form->Lab().RadioGroup2.OnClick = [&] { handled = clock.nsecsElapsed(); };
    double worst = 0;
    int item = form->RadioGroup2->ItemIndex(); // each click selects the other item
    for (auto _ : State) {
        item = 1 - item;
        QRadioButton *button = form->RadioGroup2->Button(item);
        const QPointF at(button->width() / 2.0, button->height() / 2.0);
        const QPointF global = button->mapToGlobal(at);
        handled = -1;
        clock.start();
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                            Qt::NoButton, Qt::NoModifier));
        while (handled < 0 && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (handled < 0) {
            State.SkipWithError("the click was not handled");
            break;
        }
        State.SetIterationTime(handled / 1e9);
        worst = std::max(worst, handled / 1e6);
        State.PauseTiming();
        RunEventLoopFor(5);
        State.ResumeTiming();
    }
    form->Button2->click();
    State.counters["worst_ms"] = worst;
}
BENCHMARK(BM_ClickToHandler)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// The whole program start in a child process: from starting it until the window has been
// painted once and the child has ended.
void BM_StartToFirstPaint(benchmark::State &State)
{
    for (auto _ : State) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-paint")});
        if (!child.waitForFinished(10000) || child.exitCode() != 0) {
            State.SkipWithError("the child did not paint");
            break;
        }
    }
}
BENCHMARK(BM_StartToFirstPaint)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ResidentWhileRunning(benchmark::State &State)
{
    auto form = MakeWindow(Matched);
    form->Button1->click();
    long peak = 0;
    for (auto _ : State) {
        RunEventLoopFor(1000); // two display refreshes
        peak = std::max(peak, ResidentKiB());
    }
    form->Button2->click();
    State.counters["rss_MiB"] = peak / 1024.0;
}
BENCHMARK(BM_ResidentWhileRunning)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// One paint of the output chart after a run, with the window at its made size (100) and shrunk
// to 70 % as on a small screen: the same drawing rules at the smaller size.
void BM_ChartPaintAtScale(benchmark::State &State)
{
    auto form = MakeWindow(Matched);
    TWindowScale scale;
    scale.Record(form.get(), {form->GroupBox1, form->GroupBox2});
    scale.Apply(State.range(0) / 100.0);
    for (int i = 0; i < 50; ++i)
        form->Lab().Pass();
    form->Timer1->OnTimer();
    TChart *chart = form->Chart3;
    QImage image(chart->size(), QImage::Format_RGB32);
    for (auto _ : State) {
        QPainter painter(&image);
        chart->DrawTo(painter);
    }
    State.counters["width_px"] = chart->width();
}
BENCHMARK(BM_ChartPaintAtScale)->Arg(100)->Arg(70)->Unit(benchmark::kMicrosecond);

// The child of BM_StartToFirstPaint: the program's start-up, ended by the first paint.
class TFirstPaintWatch : public QObject {
protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() == QEvent::Paint) {
            Watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

int FirstPaintChild(int argc, char **argv)
{
    TApplication application(argc, argv);
    auto *form1 = new TForm1;
    TFirstPaintWatch watch;
    form1->Chart3->installEventFilter(&watch);
    form1->show();
    const int result = application.exec();
    delete form1;
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    UseDesktopScreenWhenOffscreen();
    if (argc > 1 && std::strcmp(argv[1], "--first-paint") == 0)
        return FirstPaintChild(argc, argv);
    TApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
