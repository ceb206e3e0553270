// The main window: its stored layout, the parameter handlers, the run and the display refresh.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ApplicationTitle.h"
#include "ChartSeries.h"
#include "DSPTools.h"
#include "Errors.h"
#include "Experiment.h"
#include "NumberText.h"
#include "PassInputs.h"
#include "RegionalSettings.h"
#include "TButton.h"
#include "TCaptionLabel.h"
#include "TChart.h"
#include "TEdit.h"
#include "TFigureBox.h"
#include "TForm1.h"
#include "TProgressBar.h"
#include "TRadioGroup.h"
#include "TRunLoop.h"
#include "TTimer.h"
#include "UiTestSupport.h"
#include "WaveShaping.h"

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
using TState = TRunLoop::TState;

struct MainFormTest : ::testing::Test {
    TDecimalSeparatorScope Comma{","};
    TBoxCapture Boxes;
    uint32_t SeedAtStart = RandomSeed;
    std::unique_ptr<TForm1> Form = std::make_unique<TForm1>();

    void SetUp() override
    {
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    void TearDown() override
    {
        Form.reset();
        RandomSeed = SeedAtStart;
    }

    // Runs the window's loop until it has made Total passes in all (Start first if asked).
    void RunUntil(int64_t Total, bool PressStart = true)
    {
        Form->RunLoop().SetPassLimit(Total);
        if (PressStart)
            QTest::mouseClick(Form->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Form->RunLoop().PassesMade() >= Total; }, 20000));
        EXPECT_EQ(Form->RunLoop().PassesMade(), Total);
    }
    void Stop() { QTest::mouseClick(Form->Button2, Qt::LeftButton); }
    void ClickItem(TRadioGroup *Group, int Index) { QTest::mouseClick(Group->Button(Index), Qt::LeftButton); }
    static void Retype(TEdit *Edit, const QString &Text)
    {
        Edit->setFocus();
        Edit->selectAll();
        if (Text.isEmpty())
            QTest::keyClick(Edit, Qt::Key_Delete);
        else
            QTest::keyClicks(Edit, Text);
    }
    void Up(TUpDown *UpDown, int n = 1)
    {
        for (int i = 0; i < n; ++i)
            QTest::mouseClick(UpDown->UpButton(), Qt::LeftButton);
    }
    void Down(TUpDown *UpDown, int n = 1)
    {
        for (int i = 0; i < n; ++i)
            QTest::mouseClick(UpDown->DownButton(), Qt::LeftButton);
    }
    // A bare engine as the window builds it, on the noise sequence the window started from.
    std::unique_ptr<TExperiment> BareEngine()
    {
        RandomSeed = SeedAtStart;
        auto e = std::make_unique<TExperiment>();
        e->SetTimeConstant(5);
        return e;
    }
    double Pole() const { return -Form->EngineState().InputFilter->A(1); }
};

void ExpectSameState(const TExperimentState &a, const TExperimentState &b)
{
    EXPECT_EQ(a.SignalHist, b.SignalHist);
    EXPECT_EQ(a.NoiseHist, b.NoiseHist);
    EXPECT_EQ(a.InputHist, b.InputHist);
    EXPECT_EQ(a.OutSignalHist, b.OutSignalHist);
    EXPECT_EQ(a.OutNoiseHist, b.OutNoiseHist);
    EXPECT_EQ(a.OutputHist, b.OutputHist);
    EXPECT_EQ(a.InPeakWin, b.InPeakWin);
    EXPECT_EQ(a.OutPeakWin, b.OutPeakWin);
    EXPECT_EQ(a.InPeak, b.InPeak);
    EXPECT_EQ(a.InNoiseRms, b.InNoiseRms);
    EXPECT_EQ(a.InSnr, b.InSnr);
    EXPECT_EQ(a.OutPeak, b.OutPeak);
    EXPECT_EQ(a.OutNoiseRms, b.OutNoiseRms);
    EXPECT_EQ(a.OutSnr, b.OutSnr);
    EXPECT_EQ(a.AvgCount, b.AvgCount);
    EXPECT_EQ(a.StatsValid, b.StatsValid);
    EXPECT_EQ(a.Generator->SampleIndex(), b.Generator->SampleIndex());
}

QString Q(const std::string &s)
{
    return QString::fromStdString(s);
}

// The windowed controls of one parent: everything but the caption labels, which are drawn
// on the parent's surface below them.
QList<QWidget *> WindowedChildren(QWidget *Parent)
{
    QList<QWidget *> result;
    for (QWidget *w : Parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<TCaptionLabel *>(w))
            result << w;
    return result;
}

std::string Name(const QWidget *w)
{
    return w->objectName().toStdString();
}

TEST_F(MainFormTest, StoredLayoutKeepsEveryControlInItsPlace)
{
    EXPECT_EQ(Form->windowTitle(), "Оптимальная фильтрация сигналов");
    EXPECT_EQ(Form->pos(), QPoint(194, 132));
    EXPECT_EQ(Form->palette().color(QPalette::Window), QColor(166, 202, 240));
    const struct {
        QWidget *Parent;
        QStringList Names;
    } families[] = {
        {Form.get(),
         {"Label7", "Label15", "Label16", "RadioGroup1", "Chart1", "Chart2", "Button1", "Button2", "Edit1", "Chart3",
          "UpDown1", "RadioGroup2", "RadioGroup3", "Edit2", "UpDown2", "Edit3", "UpDown3", "CheckBox1", "GroupBox1",
          "GroupBox2"}},
        {Form->GroupBox1, {"Label10", "Label9", "Label11", "Label12", "Label13", "Label14", "ProgressBar1"}},
        {Form->GroupBox2,
         {"Label2", "Label1", "Label3", "Label4", "Label5", "Label6", "Label20", "Label21", "ProgressBar2",
          "ProgressBar3"}},
    };
    for (const auto &f : families) {
        QStringList children;
        for (QWidget *w : f.Parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            children << w->objectName();
        for (const QString &name : f.Names)
            EXPECT_TRUE(children.contains(name)) << name.toStdString() << " in " << Name(f.Parent);
        // Every control lies wholly inside its parent.
        const QRect inside(QPoint(0, 0), f.Parent->size());
        for (QWidget *w : f.Parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(inside.contains(w->geometry())) << Name(w) << " in " << Name(f.Parent);
        // Windowed controls meet at most along one line of pixels; only the copy check box,
        // wider than its column, reaches over the charts.
        const QList<QWidget *> windowed = WindowedChildren(f.Parent);
        for (qsizetype i = 0; i < windowed.size(); ++i)
            for (qsizetype j = i + 1; j < windowed.size(); ++j) {
                const QRect common = windowed[i]->geometry() & windowed[j]->geometry();
                if (common.isEmpty() || common.width() <= 1 || common.height() <= 1)
                    continue;
                const bool reach = windowed[i] == Form->CheckBox1 || windowed[j] == Form->CheckBox1;
                EXPECT_TRUE(reach) << Name(windowed[i]) << " overlaps " << Name(windowed[j]);
                if (reach) {
                    QWidget *top = Form->childAt(common.center());
                    EXPECT_TRUE(top == Form->CheckBox1 || Form->CheckBox1->isAncestorOf(top))
                        << "the check box lies below " << Name(windowed[i] == Form->CheckBox1 ? windowed[j] : windowed[i]);
                }
            }
    }
    // Each spinner sits at the right edge of its box, as tall as the box.
    for (const auto &[edit, upDown] : {std::pair{Form->Edit1, Form->UpDown1}, std::pair{Form->Edit2, Form->UpDown2},
                                       std::pair{Form->Edit3, Form->UpDown3}}) {
        EXPECT_LE(std::abs(upDown->x() - (edit->x() + edit->width())), 1) << Name(upDown);
        EXPECT_EQ(upDown->y(), edit->y()) << Name(upDown);
        EXPECT_EQ(upDown->height(), edit->height()) << Name(upDown);
    }
    // Resizing moves nothing.
    QList<QRect> before;
    const QList<QWidget *> all = Form->findChildren<QWidget *>();
    for (QWidget *w : all)
        before << w->geometry();
    Form->resize(1200, 900);
    for (qsizetype i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i]->geometry(), before[i]) << Name(all[i]);
}

TEST_F(MainFormTest, StartUpState)
{
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(Form->RadioGroup1->Button(0)->text(), "Прямоугольные импульсы");
    EXPECT_TRUE(Form->RadioGroup1->Button(0)->isChecked());
    EXPECT_EQ(Form->RadioGroup3->ItemIndex(), -1);
    EXPECT_EQ(Form->RadioGroup2->ItemIndex(), 0);
    EXPECT_EQ(Form->RadioGroup2->Button(0)->text(), "RC-цепочка");
    EXPECT_FALSE(Form->CheckBox1->isChecked());
    EXPECT_EQ(Form->Edit1->text(), "5");
    EXPECT_EQ(Form->Edit2->text(), "0,3");
    EXPECT_EQ(Form->Edit3->text(), "0");
    EXPECT_EQ(Form->UpDown1->Position(), 5);
    EXPECT_EQ(Form->UpDown2->Position(), 3);
    EXPECT_EQ(Form->UpDown3->Position(), 0);
    EXPECT_EQ(Form->UpDown2->Associate(), nullptr);
    EXPECT_EQ(Form->UpDown1->Associate(), Form->Edit1);
    for (TFigureBox *box : {Form->Label9, Form->Label11, Form->Label13, Form->Label1, Form->Label3, Form->Label5,
                            Form->Label21})
        EXPECT_EQ(box->text(), "0") << box->objectName().toStdString();
    EXPECT_EQ(Form->ProgressBar1->maximum(), 1500);
    EXPECT_EQ(Form->ProgressBar3->maximum(), 100);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->Timer1->Interval(), 500);
    EXPECT_FALSE(Form->Running);
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
    // The sections follow the time-constant box from the start.
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(5));
    EXPECT_FALSE(Form->EngineState().StatsValid);

    // Before Start every tick draws zeros and leaves the bars empty.
    Form->Timer1Timer(Form->Timer1);
    for (TLineSeries *s : {Form->Series1, Form->Series2, Form->Series3}) {
        ASSERT_EQ(s->Count(), 256);
        EXPECT_EQ(s->YValues().MinValue(), 0);
        EXPECT_EQ(s->YValues().MaxValue(), 0);
    }
    EXPECT_EQ(Form->Label13->text(), "0");
    EXPECT_EQ(Form->Label21->text(), "0");
    EXPECT_EQ(Form->ProgressBar1->Position(), 0);
    EXPECT_EQ(Form->ProgressBar3->Position(), 0);
    EXPECT_TRUE(Boxes.Texts.isEmpty());
}

TEST_F(MainFormTest, WindowFontFallsBackToAnInstalledSansWhoseTextsFitTheirControls)
{
    const QFontInfo info(Form->font());
    EXPECT_EQ(info.pixelSize(), 19);
    EXPECT_TRUE(info.family() == "Liberation Sans" || info.family() == "Arial" || info.family() == "DejaVu Sans")
        << info.family().toStdString();
    // Every button-like text within its control (the size hint adds 4 pixels of margin
    // beyond the text).
    QList<QAbstractButton *> buttons = Form->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (qobject_cast<QToolButton *>(b))
            continue;
        const int margin = qobject_cast<QPushButton *>(b) ? 0 : 4;
        EXPECT_LE(b->sizeHint().width() - margin, b->width()) << b->text().toStdString();
    }
    // Plain captions end before the control to their right; wrapped ones take two lines.
    const struct {
        QLabel *Label;
        int RightLimit;
    } captions[] = {{Form->Label15, 200}, {Form->Label12, 200}, {Form->Label14, 200},
                    {Form->Label4, 192},  {Form->Label6, 192},  {Form->Label20, 192}};
    for (const auto &c : captions)
        EXPECT_LE(c.Label->geometry().right(), c.RightLimit) << c.Label->text().toStdString();
    for (QLabel *wrapped : {Form->Label7, Form->Label16, Form->Label10, Form->Label2})
        EXPECT_EQ(wrapped->height(), 48) << wrapped->text().toStdString();
}

TEST_F(MainFormTest, TabVisitsTheFocusableControlsInOrder)
{
    Form->RadioGroup1->Button(0)->setFocus();
    QStringList visited;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *w = QApplication::focusWidget();
        visited << (qobject_cast<QRadioButton *>(w) ? w->parentWidget()->objectName() : w->objectName());
    }
    // The complex signals without a selection are reached all the same, at their first item.
    EXPECT_EQ(visited, QStringList({"Button1", "Button2", "Edit1", "RadioGroup2", "RadioGroup3", "Edit2", "Edit3",
                                    "CheckBox1", "RadioGroup1"}));
}

TEST_F(MainFormTest, NoiseSpinnerWritesTenthsAndStopsAtItsLimits)
{
    Form->Pass(); // a restart pass: the statistics run from here
    Up(Form->UpDown2);
    EXPECT_EQ(Form->Edit2->text(), "0,4");
    EXPECT_EQ(Form->UpDown2->Position(), 4);
    EXPECT_FALSE(Form->EngineState().StatsValid);

    Down(Form->UpDown2, 3);
    EXPECT_EQ(Form->Edit2->text(), "0,1");
    Down(Form->UpDown2);
    EXPECT_EQ(Form->Edit2->text(), "0");
    Form->Pass(); // a restart pass: the statistics run from here
    Down(Form->UpDown2, 2); // at the limit: no event, the statistics stay
    EXPECT_EQ(Form->UpDown2->Position(), 0);
    EXPECT_TRUE(Form->EngineState().StatsValid);

    Up(Form->UpDown2, 10);
    EXPECT_EQ(Form->Edit2->text(), "1");
    Form->UpDown2->SetPosition(99);
    Up(Form->UpDown2, 3);
    EXPECT_EQ(Form->Edit2->text(), "10");
    EXPECT_EQ(Form->UpDown2->Position(), 100);
    EXPECT_TRUE(Boxes.Texts.isEmpty());
}

TEST_F(MainFormTest, EveryTenthRoundTripsThroughTheNoiseText)
{
    // Each spinner position's text converts back to the same position, so the echo of the
    // text handler never moves the spinner.
    for (int p = 0; p <= 100; ++p) {
        Form->UpDown2->SetPosition(p);
        Form->UpDown2Click(Form->UpDown2, TUDBtnType::btNext);
        ASSERT_EQ(Form->UpDown2->Position(), p) << Form->Edit2->text().toStdString();
    }
}

TEST_F(MainFormTest, TypedNoiseLevelsKeepTheirTextAndSetTheSpinner)
{
    const struct {
        const char *Typed;
        int Position;
        bool Up;
        const char *NextText;
    } cases[] = {
        {"0,25", 2, true, "0,3"}, {"-0,5", 0, true, "0,1"}, {"12", 100, false, "9,9"},
        {"1E400", 100, false, "9,9"}, {"0,99", 9, true, "1"},
    };
    for (const auto &c : cases) {
        Form->Pass(); // a restart pass: the statistics run from here
        Retype(Form->Edit2, Q(c.Typed));
        EXPECT_EQ(Form->Edit2->text(), Q(c.Typed));
        EXPECT_EQ(Form->UpDown2->Position(), c.Position) << c.Typed;
        EXPECT_FALSE(Form->EngineState().StatsValid);
        if (c.Up)
            Up(Form->UpDown2);
        else
            Down(Form->UpDown2);
        EXPECT_EQ(Form->Edit2->text(), Q(c.NextText)) << c.Typed;
    }
    // A lone minus on the way to "-0,5" is not a number yet.
    EXPECT_EQ(Boxes.Texts, QStringList({"'-' is not a valid floating point value."}));
}

TEST_F(MainFormTest, UnreadableNoiseTextIsReportedAndKeepsTheSpinner)
{
    Form->Pass(); // a restart pass: the statistics run from here
    Retype(Form->Edit2, "");
    Retype(Form->Edit2, "0.3");
    EXPECT_EQ(Boxes.Texts, QStringList({"'' is not a valid floating point value.",
                                        "'0.' is not a valid floating point value.",
                                        "'0.3' is not a valid floating point value."}));
    EXPECT_EQ(Form->UpDown2->Position(), 0); // from the "0" typed on the way
    EXPECT_FALSE(Form->EngineState().StatsValid);
}

TEST_F(MainFormTest, TimeConstantKeystrokesBuildSectionsOrReportWithoutChange)
{
    Form->Pass(); // a restart pass: the statistics run from here
    Retype(Form->Edit1, "12");
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(12));
    EXPECT_FALSE(Form->EngineState().StatsValid);
    EXPECT_EQ(Form->EngineState().InputFilter->B(0), static_cast<double>(1.0L - RCPoleFromTimeConstant(12)));

    // Emptying the box: reported, nothing changes.
    const TIIRFilter *sections = Form->EngineState().InputFilter.get();
    Form->Pass(); // a restart pass: the statistics run from here
    Retype(Form->Edit1, "");
    ASSERT_EQ(Boxes.Texts, QStringList({"'' is not a valid floating point value."}));
    EXPECT_EQ(Form->EngineState().InputFilter.get(), sections);
    EXPECT_TRUE(Form->EngineState().StatsValid);

    // "0" and "0," are both zero: two division errors, then tau = 0.5.
    QTest::keyClicks(Form->Edit1, "0,5");
    EXPECT_EQ(Boxes.Texts.mid(1), QStringList({"Floating point division by zero.", "Floating point division by zero."}));
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(0.5L));
    EXPECT_EQ(Boxes.Captions.value(1), ApplicationTitle());
}

TEST_F(MainFormTest, TimeConstantTypedKeystrokeByKeystrokePassesThroughEachValue)
{
    Form->Edit1->setFocus();
    Form->Edit1->selectAll();
    QTest::keyClick(Form->Edit1, Qt::Key_1);
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(1));
    QTest::keyClick(Form->Edit1, Qt::Key_2);
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(12));
}

TEST_F(MainFormTest, SpinnersOfTheTimeConstantAndTheCopyDelay)
{
    Form->Pass(); // a restart pass: the statistics run from here
    const TIIRFilter *before = Form->EngineState().InputFilter.get();
    Up(Form->UpDown1);
    EXPECT_EQ(Form->Edit1->text(), "6");
    EXPECT_NE(Form->EngineState().InputFilter.get(), before);
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(6));
    EXPECT_FALSE(Form->EngineState().StatsValid);
    Down(Form->UpDown1, 10);
    EXPECT_EQ(Form->Edit1->text(), "1");

    Form->Pass(); // a restart pass: the statistics run from here
    Up(Form->UpDown3, 3);
    EXPECT_EQ(Form->Edit3->text(), "3");
    QTest::mouseClick(Form->CheckBox1, Qt::LeftButton);
    EXPECT_TRUE(Form->CheckBox1->isChecked());
    EXPECT_TRUE(Form->EngineState().StatsValid);
}

TEST_F(MainFormTest, SignalGroupsStayExclusiveAndReselectingChangesNothing)
{
    Form->Pass(); // a restart pass: the statistics run from here
    ClickItem(Form->RadioGroup3, 1);
    EXPECT_EQ(Form->RadioGroup3->ItemIndex(), 1);
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), -1);
    EXPECT_FALSE(Form->RadioGroup1->Button(0)->isChecked());
    EXPECT_FALSE(Form->EngineState().StatsValid);

    ClickItem(Form->RadioGroup1, 2);
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 2);
    EXPECT_EQ(Form->RadioGroup3->ItemIndex(), -1);

    Form->Pass(); // a restart pass: the statistics run from here
    ClickItem(Form->RadioGroup1, 2);
    ClickItem(Form->RadioGroup2, 0);
    EXPECT_TRUE(Form->EngineState().StatsValid);
    ClickItem(Form->RadioGroup2, 1);
    EXPECT_FALSE(Form->EngineState().StatsValid);
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 2);
}

// Runs made through the window's controls end in the state of a bare engine given the same
// parameters and restarts, stop making passes at Stop, and the refresh shows that state.
TEST_F(MainFormTest, WindowRunsEndInTheBareEnginesStateAndShowIt)
{
    struct TSegment {
        int Passes;       // made after Start is pressed
        bool StopAfter;   // else the next Start is pressed during the run
    };
    struct TRow {
        const char *What;
        std::function<void(MainFormTest &)> Set;
        TPassParameters Bare;
        std::vector<TSegment> Segments;
    };
    const std::vector<TRow> rows = {
        {"RC section, rectangle", [](MainFormTest &) {}, {0.3, false, 0, skRectangle, ckNone, fkRC}, {{700, true}}},
        {"matched filter, Barker code with a copy 20 samples later",
         [](MainFormTest &t) {
             t.ClickItem(t.Form->RadioGroup3, 1);
             t.ClickItem(t.Form->RadioGroup2, 1);
             QTest::mouseClick(t.Form->CheckBox1, Qt::LeftButton);
             t.Up(t.Form->UpDown3, 20);
         },
         {0.3, true, 20, skNone, ckBarker, fkMatched}, {{450, true}}},
        {"Stop then Start, and Start during a run, restart the averaging", [](MainFormTest &) {},
         {0.3, false, 0, skRectangle, ckNone, fkRC}, {{300, true}, {200, false}, {150, true}}},
    };
    for (const TRow &row : rows) {
        SCOPED_TRACE(row.What);
        TearDown();
        Form = std::make_unique<TForm1>();
        SetUp();
        row.Set(*this);
        int64_t total = 0;
        bool running = false;
        for (const TSegment &seg : row.Segments) {
            if (running) {
                QTest::mouseClick(Form->Button1, Qt::LeftButton);
                EXPECT_EQ(Form->EngineState().AvgCount, 0);
            }
            RunUntil(total += seg.Passes, !running);
            EXPECT_EQ(Form->RunLoop().State(), TState::Active);
            if (seg.StopAfter)
                Stop();
            running = !seg.StopAfter;
        }
        EXPECT_FALSE(Form->Running);
        EXPECT_FALSE(Form->Timer1->Enabled());
        EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
        Form->RunLoop().SetPassLimit(std::numeric_limits<int64_t>::max());
        QTest::qWait(20);
        EXPECT_EQ(Form->RunLoop().PassesMade(), total);

        auto bare = BareEngine();
        for (const TSegment &seg : row.Segments) {
            bare->StartRun();
            for (int i = 0; i < seg.Passes; ++i)
                bare->Pass(row.Bare);
        }
        const TExperimentState &b = bare->State();
        ExpectSameState(Form->EngineState(), b);

        // The boxes show four significant digits of the bare engine's figures, the bar its
        // tenfold input ratio to the nearest step (the exact rules: DisplayFiguresTest).
        Form->Timer1Timer(Form->Timer1);
        auto shown = [](const QLabel *Box) { return std::stod(Box->text().replace(',', '.').toStdString()); };
        const std::pair<const QLabel *, long double> figures[] = {
            {Form->Label9, b.InPeak},   {Form->Label11, b.InNoiseRms}, {Form->Label13, b.InSnr},
            {Form->Label1, b.OutPeak},  {Form->Label3, b.OutNoiseRms}, {Form->Label5, b.OutSnr},
            {Form->Label21, static_cast<long double>(b.OutSnr) / b.InSnr}};
        for (const auto &[box, value] : figures)
            EXPECT_NEAR(shown(box) / value, 1.0, 5e-4) << box->objectName().toStdString();
        EXPECT_LE(std::fabs(Form->ProgressBar1->Position() - b.InSnr * 10), 0.5);
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(Form->Series1->YValues().Value(i), b.SignalHist[i]) << i;
            ASSERT_EQ(Form->Series2->YValues().Value(i), b.InputHist[i]) << i;
            ASSERT_EQ(Form->Series3->YValues().Value(i), b.OutputHist[i]) << i;
            ASSERT_EQ(Form->Series1->XValues().Value(i), i);
        }
        EXPECT_TRUE(Boxes.Texts.isEmpty());
    }
}

TEST_F(MainFormTest, InvalidCopyDelayStallsTheRunUntilStartOrStop)
{
    Form->Edit3->SetText("x");
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Boxes.Texts.isEmpty(); }, 5000));
    QTest::qWait(30);
    EXPECT_EQ(Boxes.Texts, QStringList({"'x' is not a valid integer value."}));
    EXPECT_EQ(Boxes.Captions, QStringList({ApplicationTitle()}));
    EXPECT_EQ(Form->RunLoop().State(), TState::Stalled);
    EXPECT_TRUE(Form->Running);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->RunLoop().PassesMade(), 0);
    EXPECT_EQ(Form->EngineState().Generator->SampleIndex(), 0);

    // Start again after mending the text: the run goes on.
    Form->Edit3->SetText("0");
    RunUntil(50);
    Stop();
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);

    // An empty text stalls too, Stop ends the stalled run.
    Form->Edit3->SetText("");
    Form->RunLoop().SetPassLimit(std::numeric_limits<int64_t>::max());
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Boxes.Texts.size() == 2; }, 5000));
    EXPECT_EQ(Boxes.Texts.at(1), "'' is not a valid integer value.");
    Stop();
    EXPECT_FALSE(Form->Running);
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
}

TEST_F(MainFormTest, NoiseBeyondTheDoubleRangeStallsWithOverflow)
{
    Form->Edit2->SetText("1E400");
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Boxes.Texts.isEmpty(); }, 5000));
    EXPECT_EQ(Boxes.Texts, QStringList({"Floating point overflow."}));
    EXPECT_EQ(Form->RunLoop().State(), TState::Stalled);
    Stop();
}

TEST_F(MainFormTest, HandlerErrorDuringARunHoldsThePassesOnlyWhileTheBoxIsOpen)
{
    RunUntil(100);
    Form->RunLoop().SetPassLimit(std::numeric_limits<int64_t>::max());
    int64_t atOpen = -1, atClose = -1;
    TErrorBox::Instance().SetHook([&](const QString &, const QString &) {
        atOpen = Form->RunLoop().PassesMade();
        QTest::qWait(100); // events go on while the box is open; passes do not
        atClose = Form->RunLoop().PassesMade();
    });
    Retype(Form->Edit1, "0");
    EXPECT_GE(atOpen, 100);
    EXPECT_EQ(atClose, atOpen);
    const int64_t after = Form->RunLoop().PassesMade();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->RunLoop().PassesMade() > after + 100; }, 5000));
    EXPECT_EQ(Form->RunLoop().State(), TState::Active);
    Stop();
}

TEST_F(MainFormTest, ClosingTheWindowDuringARunEndsTheRun)
{
    RunUntil(20);
    Form->RunLoop().SetPassLimit(std::numeric_limits<int64_t>::max());
    Form->close();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(Form->Running);
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
    const int64_t made = Form->RunLoop().PassesMade();
    QTest::qWait(20);
    EXPECT_EQ(Form->RunLoop().PassesMade(), made);
}

// Which box and bar shows which figure; the texts and positions themselves follow the rules
// that DisplayFiguresTest checks row by row.
TEST_F(MainFormTest, RefreshPutsEachFigureInItsBoxAndBar)
{
    TExperimentState &e = Form->EngineForTest().StateForTest();
    auto refresh = [&] { Form->Timer1Timer(Form->Timer1); };

    e.InPeak = 1;
    e.InNoiseRms = 0.5;
    e.InSnr = 200;
    e.OutPeak = 3;
    e.OutNoiseRms = 4;
    e.OutSnr = Inf;
    refresh();
    const std::pair<const QLabel *, const char *> texts[] = {
        {Form->Label9, "1"}, {Form->Label11, "0,5"}, {Form->Label13, "200"}, {Form->Label1, "3"},
        {Form->Label3, "4"}, {Form->Label5, "INF"}, {Form->Label21, "0"}};
    for (const auto &[box, text] : texts)
        EXPECT_EQ(box->text(), text) << box->objectName().toStdString();
    // A bar keeps its position beyond its maximum and shows itself full.
    EXPECT_EQ(Form->ProgressBar1->Position(), 2000);
    EXPECT_EQ(Form->ProgressBar1->value(), 1500);
    EXPECT_EQ(Form->ProgressBar2->value(), 1500);
    EXPECT_EQ(Form->ProgressBar3->Position(), 0);

    e.InSnr = 4;
    e.OutSnr = 10;
    refresh();
    EXPECT_EQ(Form->ProgressBar1->Position(), 40);
    EXPECT_EQ(Form->ProgressBar2->Position(), 100);
    EXPECT_EQ(Form->Label21->text(), "2,5");
    EXPECT_EQ(Form->ProgressBar3->Position(), 25);

    // The three series are rebuilt from the histories at every tick.
    for (int i = 0; i < TExperiment::HistLen; ++i) {
        e.SignalHist.Push(i);
        e.InputHist.Push(-i);
    }
    e.OutputHist.SetLiveLength(TExperiment::HistLen + 1);
    for (int i = 0; i < TExperiment::HistLen - 1; ++i)
        e.OutputHist.Push(0);
    e.OutputHist.Push(7);
    e.OutputHist.Push(9); // beyond the displayed part
    refresh();
    refresh();
    ASSERT_EQ(Form->Series1->Count(), 256);
    EXPECT_EQ(Form->Series1->YValues().Value(255), 255);
    EXPECT_EQ(Form->Series2->YValues().MinValue(), -255);
    EXPECT_EQ(Form->Series3->YValues().MaxValue(), 7);
    EXPECT_EQ(Form->Series3->XValues().MaxValue(), 255);
}

TEST_F(MainFormTest, RegionalChangeNoticeSwitchesTheSeparatorOfNewTexts)
{
    SetRegionalSettingsSource([] { return QLocale::c(); });
    QEvent notice(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &notice);
    Up(Form->UpDown2);
    EXPECT_EQ(Form->Edit2->text(), "0.4");
    Form->EngineForTest().StateForTest().InSnr = 0.5;
    Form->Timer1Timer(Form->Timer1);
    EXPECT_EQ(Form->Label13->text(), "0.5");
    // A comma no longer reads as a separator.
    Retype(Form->Edit2, "0,3");
    EXPECT_EQ(Boxes.Texts.last(), "'0,3' is not a valid floating point value.");
    SetRegionalSettingsSource({});
}

TEST(MainFormPointTest, UnderAPointTheStoredNoiseTextStartsAndACommaFails)
{
    TDecimalSeparatorScope point(".");
    TBoxCapture boxes;
    const uint32_t seed = RandomSeed;
    {
        TForm1 form;
        form.show();
        EXPECT_EQ(form.Edit2->text(), "0.3");
        form.RunLoop().SetPassLimit(10);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.RunLoop().PassesMade() == 10; }, 5000));
        EXPECT_TRUE(boxes.Texts.isEmpty());
        // The box's own handler reports the text first, then the next pass stalls on it.
        form.Edit2->setText("0,3");
        form.RunLoop().SetPassLimit(20);
        ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Texts.size() == 2; }, 5000));
        EXPECT_EQ(boxes.Texts, QStringList(2, "'0,3' is not a valid floating point value."));
        EXPECT_EQ(form.RunLoop().State(), TState::Stalled);
        EXPECT_EQ(form.RunLoop().PassesMade(), 10);
    }
    RandomSeed = seed;
}

} // namespace

namespace {
QString AccessibleText(QWidget *Widget, QAccessible::Text Kind)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(Widget);
    return face ? face->text(Kind) : QStringLiteral("<none>");
}
} // namespace

TEST_F(MainFormTest, FigureBoxesReportTheFigureTheyShow)
{
    TFigureBox *boxes[] = {Form->Label9, Form->Label11, Form->Label13, Form->Label1, Form->Label3, Form->Label5, Form->Label21};
    for (TFigureBox *box : boxes)
        EXPECT_EQ(AccessibleText(box, QAccessible::Value), "0");
    RunUntil(400);
    Stop();
    Form->Timer1Timer(Form->Timer1);
    for (TFigureBox *box : boxes) {
        EXPECT_NE(box->text(), "0");
        EXPECT_EQ(AccessibleText(box, QAccessible::Value), box->text()) << box->objectName().toStdString();
    }
}

// The widest figures a run shows (five significant digits behind a leading zero, a ratio with
// two decimals) stand whole in every box.
TEST_F(MainFormTest, WidestFiguresStandWholeInTheirBoxes)
{
    for (TFigureBox *box : {Form->Label9, Form->Label11, Form->Label13, Form->Label1, Form->Label3, Form->Label5, Form->Label21})
        for (const QString &text : {QStringLiteral("0,09479"), QStringLiteral("0,3003"), QStringLiteral("10,36"),
                                   QStringLiteral("1500"), QStringLiteral("INF")})
            EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(text), box->contentsRect().width())
                << box->objectName().toStdString() << " «" << text.toStdString() << "» in " << QFontInfo(box->font()).family().toStdString();
}

// The pass parameters follow every way the controls can change between two passes, texts are
// read again after a change of the decimal separator, and a text that does not convert raises
// on every read until it is changed.
TEST(PassInputsTest, FollowTheControlsBetweenPasses)
{
    TDecimalSeparatorScope Comma{","};
    QWidget Parent;
    auto *Noise = new TEdit(&Parent);
    auto *Copy = new QCheckBox(&Parent);
    auto *Delay = new TEdit(&Parent);
    auto *Simple = new TRadioGroup(&Parent, "", {"0", "1"});
    auto *Complex = new TRadioGroup(&Parent, "", {"0", "1"});
    auto *Filter = new TRadioGroup(&Parent, "", {"0", "1"});
    Noise->setText("0,3");
    Delay->setText("0");
    TPassInputs Inputs(&Parent, Noise, Copy, Delay, {.Simple = Simple, .Complex = Complex, .Filter = Filter});
    using TCheck = std::function<bool(const TPassParameters &)>;
    struct TStep {
        const char *Change;
        std::function<void()> Make;
        TCheck Holds; // empty: the read raises EConvertError
    };
    const TStep Steps[] = {
        {"none", [] {}, [](auto &P) { return P.NoiseSD == 0.3 && !P.CopyEnabled && P.CopyShift == 0; }},
        {"copy clicked", [&] { Copy->click(); }, [](auto &P) { return P.CopyEnabled; }},
        {"copy cleared by the program", [&] { Copy->setChecked(false); }, [](auto &P) { return !P.CopyEnabled; }},
        {"noise typed", [&] { Noise->setText("1,5"); }, [](auto &P) { return P.NoiseSD == 1.5; }},
        {"delay typed", [&] { Delay->setText("40"); }, [](auto &P) { return P.CopyShift == 40; }},
        {"kinds set by the program",
         [&] {
             Simple->SetItemIndex(1);
             Complex->SetItemIndex(0);
             Filter->SetItemIndex(1);
         },
         [](auto &P) { return P.SimpleKind == 1 && P.ComplexKind == ckLfm && P.FilterKind == fkMatched; }},
        {"separator now a point", [] { SetDecimalSeparator("."); }, {}},
        {"still the same", [] {}, {}},
        {"noise retyped", [&] { Noise->setText("2.5"); }, [](auto &P) { return P.NoiseSD == 2.5; }},
        {"bad delay", [&] { Delay->setText("4x"); }, {}},
        {"delay retyped", [&] { Delay->setText("7"); }, [](auto &P) { return P.CopyShift == 7 && P.NoiseSD == 2.5; }},
    };
    for (const TStep &Step : Steps) {
        Step.Make();
        if (Step.Holds)
            EXPECT_TRUE(Step.Holds(Inputs.Read())) << Step.Change;
        else
            EXPECT_THROW(Inputs.Read(), EConvertError) << Step.Change;
    }
}
