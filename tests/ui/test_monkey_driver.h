#pragma once
// Drives the real main window with a seeded sequence of user actions and checks, after every
// action, what must always hold: the event loop still delivers, exactly one signal group has a
// selection, no figure is NaN, and every error shows as one box with one of the runtime's
// messages. A failure report names the seed and lists every action up to the failure.

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TRunLoop.h"
#include "test_monkey_actions.h"

class QMessageBox;
class QTimer;
class QWidget;
class TEdit;
class TForm1;
class TRadioGroup;
class TUpDown;

struct TMonkeyOptions {
    uint64_t Seed = 1;
    int Actions = 3000;
    QChar Separator = QLatin1Char(','); // the regional decimal separator the program starts with
    // The real modal box, read and closed with its OK button by a watcher, instead of the
    // test hook that replaces it.
    bool RealBox = false;
    // Passes run freely between the actions, as in the program, instead of only where an
    // action lets them: closer to real use, but a seed no longer replays exactly.
    bool FreeRun = false;
    // Breaks each new window on purpose: for the tests of the monkey itself.
    std::function<void(TForm1 &)> Sabotage;
};

class TMonkey {
public:
    explicit TMonkey(const TMonkeyOptions &Options);
    ~TMonkey();
    TMonkey(const TMonkey &) = delete;
    TMonkey &operator=(const TMonkey &) = delete;

    // Runs the sequence; returns an empty text, or the failure report.
    QString Run();

    // What the run did: actions by kind, boxes by message, passes made.
    QString Summary() const;
    const std::map<QString, int> &BoxCounts() const { return FBoxCounts; }
    int64_t Passes() const { return FPasses; }

    // The action log as text, for the report and for the crash and hang handlers.
    std::string LogText() const;

private:
    void NewWindow();
    void CloseWindow();
    void SetPassLimit(int64_t Limit);
    QString Perform(const TMonkeyAction &Action);
    QString RunPasses(int Count);
    QString Check();
    QString CheckFigureTexts();
    QString CheckEchoes();
    void OnBox(const QString &Caption, const QString &Text);
    void CheckBox(const QString &Caption, const QString &Text);
    void WatchRealBoxes();
    QString Report(int Done, const QString &Failure) const;

    TEdit *Edit(int Index) const;
    TUpDown *Spinner(int Index) const;
    TRadioGroup *Group(int Index) const;
    static void TypeText(QWidget *Widget, const QString &Text);

    TMonkeyOptions FOptions;
    TMonkeyGenerator FGenerator;
    TMonkeyRandom FBoxRandom;
    std::unique_ptr<TForm1> FForm;

    mutable std::mutex FLogMutex;
    std::vector<std::string> FLog;

    std::map<QString, int> FActionCounts;
    std::map<QString, int> FBoxCounts;
    std::map<QString, double> FTimeByKind;
    int64_t FPasses = 0;
    int FBoxesInAction = 0;
    int FBoxDepth = 0;
    int FLongBoxes = 0;
    // The real box being read: when it was first seen, how long it stays, the passes then.
    QMessageBox *FRealBox = nullptr;
    int64_t FRealBoxSeenAt = 0;
    int FRealBoxHoldMs = 0;
    int64_t FRealBoxPasses = -1;
    QString FBoxFailure;
    TRunLoop::TState FStateBefore = TRunLoop::TState::Idle;
    // The texts of Edit1 and Edit2 at the last check, and the separator in force when each
    // last changed: a text is read by its handler under that separator only.
    QString FSeenText[2];
    std::string FSeenSeparator[2];
};
