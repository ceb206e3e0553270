#include "test_monkey_driver.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <signal.h>
#include <cstdio>
#include <exception>
#include <thread>
#include <unistd.h>

#include "ApplicationTitle.h"
#include "DSPTools.h"
#include "Errors.h"
#include "ErrorBox.h"
#include "Experiment.h"
#include "NumberSettings.h"
#include "NumberText.h"
#include "RegionalSettings.h"
#include "TButton.h"
#include "TEdit.h"
#include "TFigureBox.h"
#include "TForm1.h"
#include "TRadioGroup.h"
#include "TTimer.h"
#include "TUpDown.h"
#include "WaveShaping.h"

namespace {
using TState = TRunLoop::TState;

// Bounds that only a hung or stuck program reaches.
constexpr int DeliveryTimeoutMs = 5000;
constexpr int PassesTimeoutMs = 20000;
constexpr auto HangTimeout = std::chrono::seconds(60);

const char *StateName(TState State)
{
    return State == TState::Idle ? "Idle" : State == TState::Active ? "Active" : "Stalled";
}

QLocale RegionalLocale(bool Comma)
{
    return Comma ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c();
}

void SendRegionalChange(bool Comma)
{
    SetRegionalSettingsSource([Comma] { return RegionalLocale(Comma); });
    QEvent notice(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &notice);
}

void RunEventLoopFor(int Milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(Milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The run whose log a crash or a hang prints.
std::atomic<const TMonkey *> GCurrent{nullptr};
std::atomic<int64_t> GHeartbeat{0};

void WriteAll(int Fd, const std::string &Text)
{
    const char *p = Text.data();
    size_t left = Text.size();
    while (left > 0) {
        const ssize_t n = ::write(Fd, p, left);
        if (n <= 0)
            return;
        p += n;
        left -= static_cast<size_t>(n);
    }
}

void DumpCurrentLog(const char *Why)
{
    WriteAll(2, std::string("\nmonkey: ") + Why + "\n");
    if (const TMonkey *m = GCurrent.load())
        WriteAll(2, m->LogText());
}

constexpr int FatalSignals[] = {SIGSEGV, SIGFPE, SIGBUS, SIGABRT};
struct sigaction GPreviousActions[std::size(FatalSignals)];

// Prints the log, then puts back the handler there was before (a sanitizer's, or the default).
// A fault then recurs as the handler returns and reaches that handler with its own context;
// a signal that was sent (abort, kill) is sent again.
extern "C" void OnFatalSignal(int Signal, siginfo_t *Info, void *)
{
    DumpCurrentLog(Signal == SIGABRT ? "aborted" : "crashed");
    for (size_t i = 0; i < std::size(FatalSignals); ++i)
        if (FatalSignals[i] == Signal)
            sigaction(Signal, &GPreviousActions[i], nullptr);
    if (Info->si_code <= 0)
        raise(Signal);
}

void CatchFatalSignals(bool Catch)
{
    for (size_t i = 0; i < std::size(FatalSignals); ++i) {
        if (Catch) {
            struct sigaction action = {};
            action.sa_sigaction = OnFatalSignal;
            action.sa_flags = SA_SIGINFO;
            sigemptyset(&action.sa_mask);
            sigaction(FatalSignals[i], &action, &GPreviousActions[i]);
        } else {
            sigaction(FatalSignals[i], &GPreviousActions[i], nullptr);
        }
    }
}

// Prints the log and ends the program when no action has completed for HangTimeout.
class TWatchdog {
public:
    TWatchdog()
        : FThread([this] {
              int64_t seen = GHeartbeat.load();
              auto since = std::chrono::steady_clock::now();
              while (!FStop.load()) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(200));
                  const int64_t now = GHeartbeat.load();
                  if (now != seen) {
                      seen = now;
                      since = std::chrono::steady_clock::now();
                  } else if (std::chrono::steady_clock::now() - since > HangTimeout) {
                      DumpCurrentLog("hung: no action completed for 60 s");
                      std::_Exit(3);
                  }
              }
          })
    {
    }
    ~TWatchdog()
    {
        FStop = true;
        FThread.join();
    }

private:
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

QString BoxClass(const QString &Text)
{
    if (Text.endsWith(QLatin1String("' is not a valid floating point value.")))
        return QStringLiteral("'...' is not a valid floating point value.");
    if (Text.endsWith(QLatin1String("' is not a valid integer value.")))
        return QStringLiteral("'...' is not a valid integer value.");
    return Text;
}

bool ValidFigure(double Value, bool MayBeInfinite)
{
    return !std::isnan(Value) && Value >= 0 && (MayBeInfinite || std::isfinite(Value));
}

template <class THistory> bool AllFinite(const THistory &History)
{
    for (double v : History)
        if (!std::isfinite(v))
            return false;
    return true;
}
} // namespace

TMonkey::TMonkey(const TMonkeyOptions &Options)
    : FOptions(Options), FGenerator(Options.Seed, Options.Separator), FBoxRandom(Options.Seed ^ 0xB0Bu)
{
}

TMonkey::~TMonkey()
{
    TErrorBox::Instance().SetHook({});
    FForm.reset();
    SetRegionalSettingsSource({});
    if (GCurrent.load() == this)
        GCurrent = nullptr;
}

TEdit *TMonkey::Edit(int Index) const
{
    return Index == 0 ? FForm->Edit1 : Index == 1 ? FForm->Edit2 : FForm->Edit3;
}

TUpDown *TMonkey::Spinner(int Index) const
{
    return Index == 0 ? FForm->UpDown1 : Index == 1 ? FForm->UpDown2 : FForm->UpDown3;
}

TRadioGroup *TMonkey::Group(int Index) const
{
    return Index == 0 ? FForm->RadioGroup1 : Index == 1 ? FForm->RadioGroup2 : FForm->RadioGroup3;
}

std::string TMonkey::LogText() const
{
    std::string out = "seed " + std::to_string(FOptions.Seed) + ", separator '" +
                      QString(FOptions.Separator).toStdString() + "', actions so far:\n";
    std::lock_guard lock(FLogMutex);
    for (size_t i = 0; i < FLog.size(); ++i)
        out += "  " + std::to_string(i + 1) + ": " + FLog[i] + "\n";
    return out;
}

void TMonkey::NewWindow()
{
    // A program start: the noise source starts from its fixed seed.
    RandomSeed = 0;
    FForm = std::make_unique<TForm1>();
    // Passes run only where an action lets them, so that a seed always replays the same run.
    SetPassLimit(0);
    FForm->show();
    QApplication::setActiveWindow(FForm.get());
    (void)QTest::qWaitForWindowActive(FForm.get());
    for (QString &t : FSeenText)
        t = QStringLiteral("\u0001 new window");
    if (FOptions.Sabotage)
        FOptions.Sabotage(*FForm);
}

void TMonkey::SetPassLimit(int64_t Limit)
{
    if (!FOptions.FreeRun)
        FForm->RunLoop().SetPassLimit(Limit);
}

void TMonkey::CloseWindow()
{
    FPasses += FForm->RunLoop().PassesMade();
    FForm.reset();
}

namespace {
QtMessageHandler GPreviousMessageHandler = nullptr;

// The offscreen platform warns once for every message box it shows; nothing else is dropped.
void DropBoxSizeHintWarnings(QtMsgType Type, const QMessageLogContext &Context, const QString &Message)
{
    if (Type == QtWarningMsg && Message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (GPreviousMessageHandler)
        GPreviousMessageHandler(Type, Context, Message);
}
} // namespace

QString TMonkey::Run()
{
    TWatchdog watchdog;
    GCurrent = this;
    CatchFatalSignals(true);
    const std::terminate_handler previous = std::set_terminate([] {
        DumpCurrentLog("terminated by an exception that nothing caught");
        std::abort();
    });

    SendRegionalChange(FOptions.Separator == QLatin1Char(','));
    QTimer watcher;
    if (FOptions.RealBox) {
        GPreviousMessageHandler = qInstallMessageHandler(DropBoxSizeHintWarnings);
        TErrorBox::Instance().SetHook({});
        QObject::connect(&watcher, &QTimer::timeout, [this] { WatchRealBoxes(); });
        watcher.start(1);
        // A new box is seen at once, from inside its own event loop.
        QObject::connect(&TErrorBox::Instance(), &TErrorBox::Opened, &watcher,
                         [this] { QTimer::singleShot(0, FForm.get(), [this] { WatchRealBoxes(); }); });
    } else {
        TErrorBox::Instance().SetHook([this](const QString &Caption, const QString &Text) { OnBox(Caption, Text); });
    }
    NewWindow();

    QString failure;
    int done = 0;
    for (; done < FOptions.Actions && failure.isEmpty(); ++done) {
        const TMonkeyAction action = FGenerator.NextAction();
        {
            std::lock_guard lock(FLogMutex);
            FLog.push_back(action.Describe().toStdString());
        }
        ++FActionCounts[MonkeyKindName(action.Kind)];
        FStateBefore = FForm->RunLoop().State();
        FBoxesInAction = 0;
        QElapsedTimer t; t.start();
        failure = Perform(action);
        FTimeByKind[MonkeyKindName(action.Kind)] += t.nsecsElapsed() / 1000000.0;
        t.restart();
        if (failure.isEmpty())
            failure = Check();
        FTimeByKind["check"] += t.nsecsElapsed() / 1000000.0;
        ++GHeartbeat;
    }

    CloseWindow();
    if (FOptions.RealBox)
        qInstallMessageHandler(GPreviousMessageHandler);
    std::set_terminate(previous);
    CatchFatalSignals(false);
    GCurrent = nullptr;
    return failure.isEmpty() ? QString() : Report(done, failure);
}

QString TMonkey::Report(int Done, const QString &Failure) const
{
    const QString sep(FOptions.Separator);
    QString out = QStringLiteral("monkey failure after action %1 of %2: %3\n").arg(Done).arg(FOptions.Actions).arg(Failure);
    if (FOptions.FreeRun)
        out += QStringLiteral("free run: passes went on between the actions, a replay may differ\n");
    out += QStringLiteral("replay: MONKEY_SEED=%1 MONKEY_SEPARATOR='%2' MONKEY_ACTIONS=%3 MONKEY_REAL_BOX=%4 "
                          "ui_test_monkey --gtest_filter='MonkeyEnvironmentTest.*'\n")
               .arg(FOptions.Seed)
               .arg(sep)
               .arg(Done)
               .arg(FOptions.RealBox ? 1 : 0);
    out += QString::fromStdString(LogText());
    if (!FOptions.Sabotage) {
        QFile file(QStringLiteral("monkey-failure-seed-%1.txt").arg(FOptions.Seed));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(out.toUtf8());
    }
    return out;
}

void TMonkey::TypeText(QWidget *Widget, const QString &Text)
{
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text.at(i);
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(Widget, static_cast<char>(c.unicode()));
        } else {
            // One keystroke per character, a surrogate pair included, as an input method sends it.
            QString one(c);
            if (c.isHighSurrogate() && i + 1 < Text.size())
                one += Text.at(++i);
            QTest::sendKeyEvent(QTest::Click, Widget, Qt::Key_unknown, one, Qt::NoModifier);
        }
    }
}

QString TMonkey::Perform(const TMonkeyAction &A)
{
    TForm1 &f = *FForm;
    switch (A.Kind) {
    case TMonkeyKind::ArrowClick:
        for (int i = 0; i < A.Count; ++i)
            QTest::mouseClick(A.Arg == 0 ? Spinner(A.Target)->UpButton() : Spinner(A.Target)->DownButton(),
                              Qt::LeftButton);
        break;
    case TMonkeyKind::ArrowKey:
        Edit(A.Target)->setFocus();
        for (int i = 0; i < A.Count; ++i)
            QTest::keyClick(Edit(A.Target), A.Arg == 0 ? Qt::Key_Up : Qt::Key_Down);
        break;
    case TMonkeyKind::TypeAt: {
        TEdit *e = Edit(A.Target);
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(std::min(A.Arg, e->width() - 1), e->height() / 2));
        TypeText(e, A.Text);
        break;
    }
    case TMonkeyKind::Retype: {
        TEdit *e = Edit(A.Target);
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        if (A.Text.isEmpty())
            QTest::keyClick(e, Qt::Key_Delete);
        else
            TypeText(e, A.Text);
        break;
    }
    case TMonkeyKind::Backspace: {
        TEdit *e = Edit(A.Target);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_End);
        for (int i = 0; i < A.Count; ++i)
            QTest::keyClick(e, Qt::Key_Backspace);
        break;
    }
    case TMonkeyKind::Undo:
        Edit(A.Target)->setFocus();
        QTest::keyClick(Edit(A.Target), Qt::Key_Z,
                        A.Arg == 0 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        break;
    case TMonkeyKind::RadioClick:
        QTest::mouseClick(Group(A.Target)->Button(A.Arg), Qt::LeftButton);
        break;
    case TMonkeyKind::RadioKey: {
        // Keys reach a group through its selected item; a group without one takes no keys.
        TRadioGroup *g = Group(A.Target);
        if (g->ItemIndex() < 0)
            break;
        QRadioButton *b = g->Button(g->ItemIndex());
        b->setFocus();
        QTest::keyClick(b, RadioKeys[A.Arg]);
        break;
    }
    case TMonkeyKind::CheckBoxClick:
        QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
        break;
    case TMonkeyKind::Start:
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        break;
    case TMonkeyKind::Stop:
        QTest::mouseClick(f.Button2, Qt::LeftButton);
        break;
    case TMonkeyKind::Close: {
        const int64_t made = f.RunLoop().PassesMade();
        SetPassLimit(made + 1000);
        f.close();
        QString failure;
        if (f.isVisible())
            failure = QStringLiteral("the window stayed open after a close request");
        else if (f.Lab().Running() || f.RunLoop().State() != TState::Idle)
            failure = QStringLiteral("a close request left the run %1").arg(StateName(f.RunLoop().State()));
        RunEventLoopFor(5);
        if (failure.isEmpty() && f.RunLoop().PassesMade() != made)
            failure = QStringLiteral("passes went on after the close request");
        CloseWindow();
        NewWindow();
        return failure;
    }
    case TMonkeyKind::RunPasses:
        return RunPasses(A.Arg);
    case TMonkeyKind::Idle:
        RunEventLoopFor(A.Arg);
        break;
    case TMonkeyKind::Paint:
        (void)f.grab();
        break;
    case TMonkeyKind::ClickAt: {
        const QPoint at(A.Arg, A.Count);
        QWidget *w = f.childAt(at);
        if (!w)
            w = &f;
        QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(&f, at));
        break;
    }
    case TMonkeyKind::FocusKeys:
        for (int i = 0; i < A.Count; ++i) {
            QWidget *w = QApplication::focusWidget();
            if (!w || w->window() != &f)
                w = &f;
            const Qt::Key key = FocusKeyList[A.Arg];
            QTest::keyClick(w, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        break;
    case TMonkeyKind::RegionalChange:
        SendRegionalChange(A.Arg == 0);
        break;
    case TMonkeyKind::Paste:
        QGuiApplication::clipboard()->setText(A.Text);
        QTest::mouseClick(Edit(A.Target), Qt::LeftButton);
        QTest::keyClick(Edit(A.Target), Qt::Key_V, Qt::ControlModifier);
        break;
    case TMonkeyKind::HoldArrow: {
        // Held down, the arrow repeats its click.
        QToolButton *b = A.Arg == 0 ? Spinner(A.Target)->UpButton() : Spinner(A.Target)->DownButton();
        QTest::mousePress(b, Qt::LeftButton);
        RunEventLoopFor(A.Count);
        QTest::mouseRelease(b, Qt::LeftButton);
        break;
    }
    }
    return {};
}

QString TMonkey::RunPasses(int Count)
{
    TRunLoop &loop = FForm->RunLoop();
    const TState state = loop.State();
    const int64_t before = loop.PassesMade();
    const int boxes = FBoxesInAction;
    SetPassLimit(before + Count);
    QElapsedTimer clock;
    clock.start();
    while (loop.State() == TState::Active && loop.PassesMade() < before + Count && clock.elapsed() < PassesTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        ++GHeartbeat;
    }
    const int64_t made = loop.PassesMade() - before;
    SetPassLimit(loop.PassesMade());
    if (state != TState::Active) {
        if (made != 0)
            return QStringLiteral("%1 passes were made while the run was %2").arg(made).arg(StateName(state));
        return {};
    }
    if (loop.State() == TState::Active && (FOptions.FreeRun ? made < Count : made != Count))
        return QStringLiteral("the active run made %1 of %2 passes in %3 ms").arg(made).arg(Count).arg(PassesTimeoutMs);
    if (loop.State() == TState::Stalled && FBoxesInAction == boxes)
        return QStringLiteral("the run stalled without an error box");
    if (loop.State() == TState::Idle)
        return QStringLiteral("the run ended by itself");
    return {};
}

void TMonkey::CheckBox(const QString &Caption, const QString &Text)
{
    ++FBoxesInAction;
    ++FBoxCounts[BoxClass(Text)];
    auto fail = [this](const QString &Why) {
        if (FBoxFailure.isEmpty())
            FBoxFailure = Why;
    };
    if (Caption != ApplicationTitle())
        fail(QStringLiteral("box caption \"%1\", not the application's title").arg(Caption));
    const QStringList allowed = {
        QStringLiteral("'%1' is not a valid floating point value.").arg(FForm->Edit1->text()),
        QStringLiteral("'%1' is not a valid floating point value.").arg(FForm->Edit2->text()),
        QStringLiteral("'%1' is not a valid integer value.").arg(FForm->Edit3->text()),
        QStringLiteral("Floating point division by zero."),
        QStringLiteral("Floating point overflow."),
        QStringLiteral("Invalid floating point operation."),
    };
    if (!allowed.contains(Text))
        fail(QStringLiteral("box text \"%1\" is none of the runtime's messages for the boxes' texts").arg(Text));
}

void TMonkey::OnBox(const QString &Caption, const QString &Text)
{
    ++FBoxDepth;
    if (FBoxDepth > 1 && FBoxFailure.isEmpty())
        FBoxFailure = QStringLiteral("a second box opened while one was open: \"%1\"").arg(Text);
    CheckBox(Caption, Text);
    auto fail = [this](const QString &Why) {
        if (FBoxFailure.isEmpty())
            FBoxFailure = Why;
    };

    // Now and then the user reads the box for a while: events go on, passes do not.
    TRunLoop &loop = FForm->RunLoop();
    if (loop.State() == TState::Active && FBoxRandom.Chance(25)) {
        const int64_t made = loop.PassesMade();
        SetPassLimit(made + 1000);
        // Long enough for a display refresh only a few times a run.
        const bool long_ = FLongBoxes < 3 && FBoxRandom.Chance(2);
        FLongBoxes += long_;
        RunEventLoopFor(long_ ? 510 : 1);
        if (loop.PassesMade() != made)
            fail(QStringLiteral("%1 passes ran while the error box was open").arg(loop.PassesMade() - made));
        SetPassLimit(loop.PassesMade());
    }
    --FBoxDepth;
}

// The user of the real box: reads it for a moment, then clicks OK. Only one box may ever be
// open, with an error icon, an OK button, the title and one of the runtime's messages, and no
// pass runs while it is open.
void TMonkey::WatchRealBoxes()
{
    QList<QMessageBox *> open;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            open << box;
    if (open.size() > 1 && FBoxFailure.isEmpty())
        FBoxFailure = QStringLiteral("%1 error boxes open at once").arg(open.size());
    if (open.isEmpty())
        return;
    QMessageBox *box = open.first();
    TRunLoop &loop = FForm->RunLoop();
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    if (box != FRealBox) {
        FRealBox = box;
        FRealBoxSeenAt = clock.elapsed();
        const bool long_ = FLongBoxes < 3 && FBoxRandom.Chance(2);
        FLongBoxes += long_;
        FRealBoxHoldMs = long_ ? 510 : FBoxRandom.Chance(75) ? 0 : 1 + FBoxRandom.Below(3);
        CheckBox(box->windowTitle(), box->text());
        if (box->icon() != QMessageBox::Critical || box->buttons().size() != 1 || !box->button(QMessageBox::Ok) ||
            !box->isModal())
            if (FBoxFailure.isEmpty())
                FBoxFailure = QStringLiteral("the error box is not modal with an error icon and one OK button");
        FRealBoxPasses = -1;
        if (loop.State() == TState::Active) {
            FRealBoxPasses = loop.PassesMade();
            SetPassLimit(FRealBoxPasses + 1000);
        }
    }
    if (clock.elapsed() - FRealBoxSeenAt < FRealBoxHoldMs)
        return;
    if (FRealBoxPasses >= 0) {
        if (loop.PassesMade() != FRealBoxPasses && FBoxFailure.isEmpty())
            FBoxFailure = QStringLiteral("%1 passes ran while the error box was open").arg(loop.PassesMade() - FRealBoxPasses);
        SetPassLimit(loop.PassesMade());
    }
    FRealBox = nullptr;
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
}

QString TMonkey::Check()
{
    TForm1 &f = *FForm;
    if (!FBoxFailure.isEmpty())
        return std::exchange(FBoxFailure, QString());

    // Alive and responsive: an event posted now is delivered.
    bool delivered = false;
    QMetaObject::invokeMethod(&f, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    while (!delivered && clock.elapsed() < DeliveryTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!delivered)
        return QStringLiteral("a posted event was not delivered within %1 ms").arg(DeliveryTimeoutMs);
    if (!FBoxFailure.isEmpty())
        return std::exchange(FBoxFailure, QString());

    for (int g = 0; g < 3; ++g) {
        TRadioGroup *group = Group(g);
        int checked = -1, count = 0;
        for (int i = 0; i < group->Count(); ++i)
            if (group->Button(i)->isChecked()) {
                checked = i;
                ++count;
            }
        if (count > 1 || checked != group->ItemIndex())
            return QStringLiteral("%1: ItemIndex %2 but %3 item(s) shown selected (item %4)")
                .arg(group->objectName())
                .arg(group->ItemIndex())
                .arg(count)
                .arg(checked);
    }
    if ((f.RadioGroup1->ItemIndex() >= 0) == (f.RadioGroup3->ItemIndex() >= 0))
        return QStringLiteral("RadioGroup1 has ItemIndex %1 and RadioGroup3 %2: not exactly one selection")
            .arg(f.RadioGroup1->ItemIndex())
            .arg(f.RadioGroup3->ItemIndex());
    if (f.RadioGroup2->ItemIndex() < 0)
        return QStringLiteral("RadioGroup2 lost its selection");

    const TState state = f.RunLoop().State();
    if (f.Lab().Running() != (state != TState::Idle))
        return QStringLiteral("Running is %1 while the run is %2").arg(f.Lab().Running()).arg(StateName(state));
    if (f.Lab().Running() && !f.Timer1->Enabled())
        return QStringLiteral("Timer1 is disabled during a run");
    if (FStateBefore == TState::Active && state == TState::Stalled && FBoxesInAction == 0)
        return QStringLiteral("the run stalled without an error box");

    for (int s = 0; s < 3; ++s) {
        const TUpDown *u = Spinner(s);
        if (u->Position() < u->Min() || u->Position() > u->Max())
            return QStringLiteral("%1 holds %2 outside %3 .. %4").arg(u->objectName()).arg(u->Position()).arg(u->Min()).arg(u->Max());
    }

    const TExperimentState &e = f.EngineState();
    const struct {
        const char *Name;
        double Value;
        bool MayBeInfinite;
    } figures[] = {{"InPeak", e.InPeak, false},         {"InNoiseRms", e.InNoiseRms, false},
                   {"InNoiseMs", e.InNoiseMs, false},   {"InSnr", e.InSnr, true},
                   {"OutPeak", e.OutPeak, false},       {"OutNoiseRms", e.OutNoiseRms, false},
                   {"OutNoiseMs", e.OutNoiseMs, false}, {"OutSnr", e.OutSnr, true}};
    for (const auto &fig : figures)
        if (!ValidFigure(fig.Value, fig.MayBeInfinite))
            return QStringLiteral("%1 is %2").arg(fig.Name).arg(fig.Value);
    if (!AllFinite(e.SignalHist) || !AllFinite(e.NoiseHist) || !AllFinite(e.InputHist) || !AllFinite(e.OutSignalHist) ||
        !AllFinite(e.OutNoiseHist) || !AllFinite(e.OutputHist) || !AllFinite(e.InPeakWin) || !AllFinite(e.OutPeakWin))
        return QStringLiteral("a history holds a value that is not a finite number");
    if (e.Generator->SampleIndex() < 0 || e.Generator->SampleIndex() >= e.Generator->PeriodSamples())
        return QStringLiteral("the generator's sample index %1 left its period").arg(e.Generator->SampleIndex());
    if (QString echo = CheckEchoes(); !echo.isEmpty())
        return echo;
    return CheckFigureTexts();
}

// The noise spinner holds the tenths of a readable noise text (at the nearer limit beyond its
// range), and the RC sections have the pole of a readable time constant.
QString TMonkey::CheckEchoes()
{
    TForm1 &f = *FForm;
    for (int i = 0; i < 2; ++i)
        if (Edit(i)->text() != FSeenText[i]) {
            FSeenText[i] = Edit(i)->text();
            FSeenSeparator[i] = DecimalSeparator();
        }
    auto read = [](const QString &Text, long double &Value) {
        try {
            Value = ParseFloatText(Text.toStdString());
            return true;
        } catch (const EConvertError &) {
            return false;
        }
    };
    long double v = 0;
    if (FSeenSeparator[1] == DecimalSeparator() && read(f.Edit2->text(), v)) {
        const long double tenths = std::clamp<long double>(std::trunc(v * 10.0L), f.UpDown2->Min(), f.UpDown2->Max());
        if (f.UpDown2->Position() != tenths)
            return QStringLiteral("UpDown2 holds %1 for the noise text \"%2\"").arg(f.UpDown2->Position()).arg(f.Edit2->text());
    }
    if (FSeenSeparator[0] == DecimalSeparator() && read(f.Edit1->text(), v)) {
        double k = 0;
        try {
            k = RCPoleFromTimeConstant(v);
        } catch (const EMathError &) {
            return {}; // the handler reported it and kept the sections
        }
        const TExperimentState &e = f.EngineState();
        for (const TIIRFilter *section : {e.InputFilter.get(), e.SignalFilter.get(), e.NoiseFilter.get()})
            if (section->A(1) != -k)
                return QStringLiteral("an RC section has pole %1, not %2 of the time constant \"%3\"")
                    .arg(-section->A(1), 0, 'g', 17)
                    .arg(k, 0, 'g', 17)
                    .arg(f.Edit1->text());
    }
    return {};
}

QString TMonkey::CheckFigureTexts()
{
    TForm1 &f = *FForm;
    // A tick of the display refresh, through the catching point as the timer's own.
    const int boxes = FBoxesInAction;
    CallGuarded(f.Timer1->OnTimer);
    if (FBoxesInAction != boxes)
        return QStringLiteral("the display refresh raised an error");

    const QString sep = QRegularExpression::escape(QString::fromStdString(DecimalSeparator()));
    const QRegularExpression number(QStringLiteral("^(INF|\\d+(%1\\d+)?(E-?\\d{4,})?)$").arg(sep));
    const TExperimentState &e = f.EngineState();
    const struct {
        TFigureBox *Box;
        double Value;
    } boxes7[] = {{f.Label9, e.InPeak},  {f.Label11, e.InNoiseRms}, {f.Label13, e.InSnr}, {f.Label1, e.OutPeak},
                  {f.Label3, e.OutNoiseRms}, {f.Label5, e.OutSnr},  {f.Label21, NAN}};
    for (const auto &b : boxes7) {
        const QString text = b.Box->text();
        if (!number.match(text).hasMatch())
            return QStringLiteral("%1 shows \"%2\"").arg(b.Box->objectName(), text);
        if (std::isnan(b.Value))
            continue; // the gain box: its form is all that is fixed here
        const bool shown = text == QLatin1String("INF") ? std::isinf(b.Value)
                                                        : std::fabs(static_cast<double>(ParseFloatText(text.toStdString())) -
                                                                    b.Value) <= 1e-3 * b.Value;
        if (!shown)
            return QStringLiteral("%1 shows \"%2\" for %3").arg(b.Box->objectName(), text).arg(b.Value, 0, 'g', 17);
    }
    return {};
}

QString TMonkey::Summary() const
{
    QString out = QStringLiteral("monkey seed %1 (separator '%2'): %3 actions, %4 passes\n  actions:")
                      .arg(FOptions.Seed)
                      .arg(QString(FOptions.Separator))
                      .arg(FOptions.Actions)
                      .arg(FPasses);
    for (const auto &[kind, n] : FActionCounts)
        out += QStringLiteral(" %1 %2;").arg(kind).arg(n);
    out += QStringLiteral("\n  ms:");
    for (const auto &[kind, n] : FTimeByKind)
        out += QStringLiteral(" %1 %2;").arg(kind).arg(n);
    out += QStringLiteral("\n  boxes:");
    if (FBoxCounts.empty())
        out += QStringLiteral(" none");
    for (const auto &[text, n] : FBoxCounts)
        out += QStringLiteral("\n    %1  x%2").arg(text).arg(n);
    return out + QLatin1Char('\n');
}
