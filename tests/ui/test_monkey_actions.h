#pragma once
// The monkey's user actions: what one action does to which control, its one-line text for the
// replay list, and the seeded generator of action sequences. A sequence depends on the seed
// alone (never on the program's state), so a seed and a count replay the same actions.

#include <QString>

#include <cstdint>
#include <vector>

enum class TMonkeyKind {
    ArrowClick,     // Target: spinner 0..2 (UpDown1..3); Arg 0 up, 1 down; Count clicks
    ArrowKey,       // Target: 0 Edit1, 2 Edit3 (the attached boxes); Arg 0 up, 1 down; Count presses
    TypeAt,         // Target: edit 0..2; a click into the box at Arg pixels from its left, then Text typed
    Retype,         // Target: edit 0..2; Ctrl+A, then Text typed (Delete when Text is empty)
    Backspace,      // Target: edit 0..2; the End key, then Count backspaces
    Undo,           // Target: edit 0..2; Arg 0 Ctrl+Z, 1 Ctrl+Shift+Z
    RadioClick,     // Target: group 0..2 (RadioGroup1..3); Arg: item
    RadioKey,       // Target: group 0..2; Arg: key index into RadioKeys
    CheckBoxClick,  //
    Start,          // a click on Button1
    Stop,           // a click on Button2
    Close,          // a close request; the program then starts again
    RunPasses,      // Arg passes of the run (none unless the run is active)
    Idle,           // Arg milliseconds of the event loop: timer ticks, repaints
    Paint,          // the whole window rendered, charts included
    ClickAt,        // a click at window point (Arg, Count)
    FocusKeys,      // Count presses of FocusKeyList[Arg] to whatever has the focus
    RegionalChange, // Arg 0: regional settings with a comma, 1: with a point
    Paste,          // Target: edit 0..2; Text put on the clipboard, then Ctrl+V
    HoldArrow,      // Target: spinner 0..2; Arg 0 up, 1 down; the arrow held down for Count ms
};

// The keys of RadioKey and FocusKeys.
inline constexpr Qt::Key RadioKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Space};
inline constexpr Qt::Key FocusKeyList[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Up,
                                           Qt::Key_Down};

struct TMonkeyAction {
    TMonkeyKind Kind = TMonkeyKind::Idle;
    int Target = 0;
    int Arg = 0;
    int Count = 1;
    QString Text;

    QString Describe() const;
};

// The kind's name in the summary.
QString MonkeyKindName(TMonkeyKind Kind);

// A small, fully specified generator (the standard distributions differ between libraries).
class TMonkeyRandom {
public:
    // Neighbouring seeds give unrelated sequences: the seed is mixed before it becomes the state.
    explicit TMonkeyRandom(uint64_t Seed) : FState(Seed) { FState = Next() ^ 0x632BE59BD9B4E019ull; }
    uint64_t Next();
    // 0 .. Count - 1
    int Below(int Count) { return static_cast<int>(Next() % static_cast<uint64_t>(Count)); }
    bool Chance(int Percent) { return Below(100) < Percent; }

private:
    uint64_t FState;
};

class TMonkeyGenerator {
public:
    // Separator: the decimal separator most typed numbers use ("," or ".").
    TMonkeyGenerator(uint64_t Seed, QChar Separator) : FRandom(Seed), FSeparator(Separator) {}

    TMonkeyAction NextAction();
    // A text a user might type into edit box Target (0 time constant, 1 noise, 2 copy delay).
    QString TypedText(int Target);

    TMonkeyRandom &Random() { return FRandom; }

private:
    QString Separator();
    QString Digits(int Min, int Max);
    QString PlainNumber();
    QString ExponentNumber();
    QString SensibleText(int Target);
    QString OddText();

    TMonkeyRandom FRandom;
    QChar FSeparator;
};
