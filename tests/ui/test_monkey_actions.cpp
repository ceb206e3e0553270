#include "test_monkey_actions.h"

#include <QStringList>

namespace {
const char *const EditNames[] = {"Edit1", "Edit2", "Edit3"};
const char *const SpinnerNames[] = {"UpDown1", "UpDown2", "UpDown3"};
const char *const GroupNames[] = {"RadioGroup1", "RadioGroup2", "RadioGroup3"};
const char *const RadioKeyNames[] = {"Up", "Down", "Left", "Right", "Space"};
const char *const FocusKeyNames[] = {"Tab", "Shift+Tab", "Space", "Return", "Up", "Down"};
constexpr int GroupItems[] = {4, 2, 2};

QString Quoted(const QString &Text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : Text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + QString(c);
        else if (c.isPrint() && c != QChar(0x00A0))
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out + QLatin1Char('"');
}

// Texts that probe the edges of the number grammar, the integer range and the extended range.
const QStringList &Probes()
{
    static const QStringList probes = {
        "-", "+", ",", ".", "-,", "+.", "+-1", "--1", "1-", "1,,2", "1.2.3", ",5", "5,", "0,", "00", "-0",
        "E", "e5", "1E", "1e-", "1E+", "1E+5", "1e-3", "INF", "-INF", "NAN", "inf", "nan", "Infinity",
        "0x10", "0X1f", "x1F", "$1F", "$", "0x", "$7FFFFFFF", "$80000000", "$FFFFFFFF", "$100000000", "-$1",
        "2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999999999999", " 12", "12 ", " 0,3 ",
        "1 000", "1\u00A0000", "\u2212" "5", "\uFF11\uFF12", "\u0663", "\u00BD", "шум", "ЖЁ", "Ноль", "abc", "q",
        "\U0001F600", "1E400", "-1E400", "1E5000", "1E-400", "1E-4950", "1E-4960", "1E-9999", "1E4932", "1E4933",
        "4,9E-324", "4.9E-324", "2,2E-308", "1,7976931348623157E308", "1,8E308", "1.8E308", "1E308", "1E309",
        "1E-320", "1E-160", "1E-162", "1E150", "1E154", "1E155", "1E200", "0E999999", "1E0500", "-1", "-0,001",
        "-1E-10", "-100", "-5", "1E-5", "0,0", "0.0", "0,5", "0.5", "1E-300", "3276,7", "3276,8", "6553,6",
        "-3276,8", "-3276,9", "214748364,7", "214748364,8"};
    return probes;
}

const QString &OddCharacters()
{
    static const QString pool = QStringLiteral("0123456789,.+-eExX$ abcfzQ_/*()'\"%;:!?#@жЁщЯ\u00A0\u2212\u00BD\u0663");
    return pool;
}
} // namespace

QString TMonkeyAction::Describe() const
{
    switch (Kind) {
    case TMonkeyKind::ArrowClick:
        return QStringLiteral("%1 %2 arrow x%3").arg(SpinnerNames[Target], Arg == 0 ? "up" : "down").arg(Count);
    case TMonkeyKind::ArrowKey:
        return QStringLiteral("%1 key %2 x%3").arg(EditNames[Target], Arg == 0 ? "Up" : "Down").arg(Count);
    case TMonkeyKind::TypeAt:
        return QStringLiteral("%1 click at %2 px, type %3").arg(EditNames[Target]).arg(Arg).arg(Quoted(Text));
    case TMonkeyKind::Retype:
        return QStringLiteral("%1 select all, type %2").arg(EditNames[Target], Quoted(Text));
    case TMonkeyKind::Backspace:
        return QStringLiteral("%1 End, backspace x%2").arg(EditNames[Target]).arg(Count);
    case TMonkeyKind::Undo:
        return QStringLiteral("%1 %2").arg(EditNames[Target], Arg == 0 ? "Ctrl+Z" : "Ctrl+Shift+Z");
    case TMonkeyKind::RadioClick:
        return QStringLiteral("%1 click item %2").arg(GroupNames[Target]).arg(Arg);
    case TMonkeyKind::RadioKey:
        return QStringLiteral("%1 key %2").arg(GroupNames[Target], RadioKeyNames[Arg]);
    case TMonkeyKind::CheckBoxClick:
        return QStringLiteral("CheckBox1 click");
    case TMonkeyKind::Start:
        return QStringLiteral("Start");
    case TMonkeyKind::Stop:
        return QStringLiteral("Stop");
    case TMonkeyKind::Close:
        return QStringLiteral("close request, program started again");
    case TMonkeyKind::RunPasses:
        return QStringLiteral("run %1 passes").arg(Arg);
    case TMonkeyKind::Idle:
        return QStringLiteral("idle %1 ms").arg(Arg);
    case TMonkeyKind::Paint:
        return QStringLiteral("paint the window");
    case TMonkeyKind::ClickAt:
        return QStringLiteral("click at %1, %2").arg(Arg).arg(Count);
    case TMonkeyKind::FocusKeys:
        return QStringLiteral("focused control: %1 x%2").arg(FocusKeyNames[Arg]).arg(Count);
    case TMonkeyKind::RegionalChange:
        return QStringLiteral("regional settings changed to a %1").arg(Arg == 0 ? "comma" : "point");
    case TMonkeyKind::Paste:
        return QStringLiteral("%1 paste %2").arg(EditNames[Target], Quoted(Text));
    case TMonkeyKind::HoldArrow:
        return QStringLiteral("%1 %2 arrow held %3 ms").arg(SpinnerNames[Target], Arg == 0 ? "up" : "down").arg(Count);
    }
    return QStringLiteral("?");
}

QString MonkeyKindName(TMonkeyKind Kind)
{
    static const char *const Names[] = {"arrow click", "arrow key", "type", "select all and retype", "backspace",
                                        "undo/redo", "radio click", "radio key", "check box", "Start", "Stop",
                                        "close", "run passes", "idle", "paint", "click anywhere", "focus keys",
                                        "regional change", "paste", "hold arrow"};
    return QString::fromLatin1(Names[static_cast<int>(Kind)]);
}

uint64_t TMonkeyRandom::Next()
{
    // splitmix64
    uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

TMonkeyAction TMonkeyGenerator::NextAction()
{
    TMonkeyAction a;
    const int roll = FRandom.Below(1000);
    auto editTarget = [this] {
        const int r = FRandom.Below(100);
        return r < 30 ? 0 : r < 75 ? 1 : 2;
    };
    if (roll < 150) {
        a.Kind = TMonkeyKind::ArrowClick;
        a.Target = FRandom.Below(3);
        a.Arg = FRandom.Below(2);
        const int r = FRandom.Below(100);
        a.Count = r < 80 ? 1 : r < 97 ? 2 + FRandom.Below(14) : 120;
    } else if (roll < 180) {
        a.Kind = TMonkeyKind::ArrowKey;
        a.Target = FRandom.Chance(50) ? 0 : 2;
        a.Arg = FRandom.Below(2);
        a.Count = 1 + FRandom.Below(3);
    } else if (roll < 330) {
        a.Kind = TMonkeyKind::TypeAt;
        a.Target = editTarget();
        a.Arg = FRandom.Below(80);
        a.Text = TypedText(a.Target);
    } else if (roll < 460) {
        a.Kind = TMonkeyKind::Retype;
        a.Target = editTarget();
        // A whole new value is mostly a sensible one.
        const int r = FRandom.Below(100);
        a.Text = r < 6 ? QString() : r < 50 ? SensibleText(a.Target) : TypedText(a.Target);
    } else if (roll < 510) {
        a.Kind = TMonkeyKind::Backspace;
        a.Target = editTarget();
        a.Count = FRandom.Chance(90) ? 1 + FRandom.Below(4) : 40;
    } else if (roll < 530) {
        a.Kind = TMonkeyKind::Undo;
        a.Target = editTarget();
        a.Arg = FRandom.Below(2);
    } else if (roll < 650) {
        a.Kind = TMonkeyKind::RadioClick;
        const int r = FRandom.Below(100);
        a.Target = r < 40 ? 0 : r < 75 ? 2 : 1;
        a.Arg = FRandom.Below(GroupItems[a.Target]);
    } else if (roll < 675) {
        a.Kind = TMonkeyKind::RadioKey;
        a.Target = FRandom.Below(3);
        a.Arg = FRandom.Below(5);
    } else if (roll < 705) {
        a.Kind = TMonkeyKind::CheckBoxClick;
    } else if (roll < 765) {
        a.Kind = TMonkeyKind::Start;
    } else if (roll < 795) {
        a.Kind = TMonkeyKind::Stop;
    } else if (roll < 800) {
        a.Kind = TMonkeyKind::Close;
    } else if (roll < 910) {
        a.Kind = TMonkeyKind::RunPasses;
        const int r = FRandom.Below(100);
        a.Arg = r < 15 ? 1 : r < 45 ? 2 + FRandom.Below(19) : r < 85 ? 50 + FRandom.Below(451) : 1000 + FRandom.Below(4001);
    } else if (roll < 920) {
        a.Kind = TMonkeyKind::Idle;
        const int r = FRandom.Below(100);
        a.Arg = r < 50 ? 1 : r < 95 ? 20 : 510;
    } else if (roll < 935) {
        a.Kind = TMonkeyKind::Paint;
    } else if (roll < 970) {
        a.Kind = TMonkeyKind::ClickAt;
        a.Arg = FRandom.Below(1024);
        a.Count = FRandom.Below(768);
    } else if (roll < 982) {
        a.Kind = TMonkeyKind::Paste;
        a.Target = editTarget();
        a.Text = TypedText(a.Target);
        if (FRandom.Chance(30))
            a.Text.insert(FRandom.Below(a.Text.size() + 1), FRandom.Chance(50) ? QStringLiteral("\n") : QStringLiteral("\t"));
    } else if (roll < 983) {
        a.Kind = TMonkeyKind::HoldArrow;
        a.Target = FRandom.Below(3);
        a.Arg = FRandom.Below(2);
        a.Count = 330 + FRandom.Below(100);
    } else if (roll < 985) {
        a.Kind = TMonkeyKind::Undo;
        a.Target = editTarget();
        a.Arg = FRandom.Below(2);
    } else if (roll < 995) {
        a.Kind = TMonkeyKind::FocusKeys;
        a.Arg = FRandom.Below(6);
        a.Count = 1 + FRandom.Below(3);
    } else {
        a.Kind = TMonkeyKind::RegionalChange;
        a.Arg = FRandom.Below(2);
    }
    return a;
}

QString TMonkeyGenerator::Separator()
{
    return FRandom.Chance(75) ? QString(FSeparator) : QString(FSeparator == QLatin1Char(',') ? '.' : ',');
}

QString TMonkeyGenerator::Digits(int Min, int Max)
{
    QString s;
    const int n = Min + FRandom.Below(Max - Min + 1);
    for (int i = 0; i < n; ++i)
        s += QChar('0' + FRandom.Below(10));
    return s;
}

QString TMonkeyGenerator::PlainNumber()
{
    QString s;
    if (FRandom.Chance(20))
        s += FRandom.Chance(70) ? QStringLiteral("-") : QStringLiteral("+");
    s += Digits(0, 4);
    if (FRandom.Chance(60))
        s += Separator() + Digits(0, 4);
    return s;
}

QString TMonkeyGenerator::ExponentNumber()
{
    static const int Exponents[] = {0, 1, 5, 10, 38, 150, 154, 155, 160, 162, 200, 300, 307, 308, 309, 320, 323, 324,
                                    330, 400, 499, 500, 4931, 4932, 4933, 4950, 4951, 4960, 5000, 9999};
    QString s = PlainNumber();
    if (s.isEmpty() || s == QLatin1String("-") || s == QLatin1String("+"))
        s += QChar('1' + FRandom.Below(9));
    s += FRandom.Chance(70) ? QStringLiteral("E") : QStringLiteral("e");
    const int r = FRandom.Below(100);
    if (r < 45)
        s += QStringLiteral("-");
    else if (r < 55)
        s += QStringLiteral("+");
    s += QString::number(Exponents[FRandom.Below(std::size(Exponents))]);
    return s;
}

QString TMonkeyGenerator::SensibleText(int Target)
{
    switch (Target) {
    case 0:
        return FRandom.Chance(80) ? QString::number(1 + FRandom.Below(100))
                                  : QString::number(FRandom.Below(10)) + Separator() + QString::number(1 + FRandom.Below(9));
    case 1: {
        const int tenths = FRandom.Below(101);
        QString s = QString::number(tenths / 10);
        if (tenths % 10 != 0)
            s += Separator() + QString::number(tenths % 10);
        if (FRandom.Chance(20))
            s += QChar('1' + FRandom.Below(9)); // more decimals than the spinner holds
        return s;
    }
    default:
        return QString::number(FRandom.Below(101));
    }
}

QString TMonkeyGenerator::OddText()
{
    if (FRandom.Chance(60))
        return Probes().at(FRandom.Below(Probes().size()));
    QString s;
    const int n = 1 + FRandom.Below(8);
    for (int i = 0; i < n; ++i)
        s += OddCharacters().at(FRandom.Below(OddCharacters().size()));
    return s;
}

QString TMonkeyGenerator::TypedText(int Target)
{
    const int r = FRandom.Below(100);
    if (r < 40)
        return SensibleText(Target);
    if (r < 55)
        return PlainNumber();
    if (r < 67)
        return ExponentNumber();
    if (r < 90)
        return OddText();
    // Huge and tiny numbers written out in full.
    const QString zeros(20 + FRandom.Below(381), QLatin1Char('0'));
    const QString sign = FRandom.Chance(25) ? QStringLiteral("-") : QString();
    switch (FRandom.Below(3)) {
    case 0:
        return sign + QLatin1Char('1') + zeros;
    case 1:
        return sign + QString(zeros.size(), QLatin1Char('9'));
    default:
        return sign + QLatin1Char('0') + Separator() + zeros + QLatin1Char('1');
    }
}
