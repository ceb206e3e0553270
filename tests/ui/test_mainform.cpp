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
#include "DSPTools.h"
#include "ChartSeries.h"
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
    double Pole() const { return -Form->EngineState().InputFilter->A(1); }
};

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
    EXPECT_EQ(Form->UpDown3->Associate(), Form->Edit3);
    for (TFigureBox *box : {Form->Label9, Form->Label11, Form->Label13, Form->Label1, Form->Label3, Form->Label5,
                            Form->Label21})
        EXPECT_EQ(box->text(), "0") << box->objectName().toStdString();
    EXPECT_EQ(Form->ProgressBar1->maximum(), 1500);
    EXPECT_EQ(Form->ProgressBar3->maximum(), 100);
    EXPECT_TRUE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->Timer1->Interval(), 500);
    EXPECT_FALSE(Form->Lab().Running());
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
    // Before Start every tick draws zeros and leaves the bars empty.
    Form->Timer1->OnTimer();
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
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(QApplication::focusWidget(), i < 14 ? Qt::Key_Tab : Qt::Key_Backtab);
        QWidget *w = QApplication::focusWidget();
        visited << (qobject_cast<QRadioButton *>(w) ? w->parentWidget()->objectName() : w->objectName());
    }
    // The complex signals without a selection are reached all the same, at their first item; the
    // charts and the figure groups, for their menus, after every control.
    EXPECT_EQ(visited, QStringList({"Button1", "Button2", "Edit1", "RadioGroup2", "RadioGroup3", "Edit2", "Edit3",
                                    "CheckBox1", "Chart1", "Chart2", "Chart3", "GroupBox1", "GroupBox2", "RadioGroup1",
                                    "GroupBox2"}));
}

// Every control hands its user's actions to the laboratory and shows what the laboratory's
// state becomes; Start, the refresh and Stop draw the run.
TEST_F(MainFormTest, EachControlReachesTheLabAndShowsItsState)
{
    TLab &lab = Form->Lab();
    Retype(Form->Edit1, "12");
    EXPECT_EQ(lab.Edit1.Text(), "12");
    EXPECT_EQ(Pole(), RCPoleFromTimeConstant(12));
    Up(Form->UpDown1);
    EXPECT_EQ(Form->Edit1->text(), "13");
    Up(Form->UpDown2);
    EXPECT_EQ(Form->Edit2->text(), "0,4");
    EXPECT_EQ(Form->UpDown2->Position(), 4);
    Up(Form->UpDown3, 20);
    EXPECT_EQ(Form->Edit3->text(), "20");
    ClickItem(Form->RadioGroup3, 1);
    ClickItem(Form->RadioGroup2, 1);
    EXPECT_EQ(lab.RadioGroup3.ItemIndex(), ckBarker);
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), -1);
    for (int i = 0; i < Form->RadioGroup1->Count(); ++i)
        EXPECT_FALSE(Form->RadioGroup1->Button(i)->isChecked()) << i;
    QTest::mouseClick(Form->CheckBox1, Qt::LeftButton);
    EXPECT_TRUE(lab.CheckBox1);

    RunUntil(450);
    EXPECT_TRUE(lab.Running());
    Stop();
    EXPECT_FALSE(lab.Running());
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
    Form->Timer1->OnTimer();
    const TDisplay &d = lab.Display();
    const std::array<QLabel *, 7> boxes = {Form->Label9, Form->Label11, Form->Label13, Form->Label1,
                                           Form->Label3, Form->Label5,  Form->Label21};
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i]->text(), Q(d.Figures[i])) << Name(boxes[i]);
    EXPECT_NE(Form->Label21->text(), "0");
    EXPECT_EQ(Form->ProgressBar1->Position(), d.Bars[0]);
    EXPECT_EQ(Form->ProgressBar3->Position(), d.Bars[2]);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(Form->Series1->YValues().Value(i), d.Series[0][i]) << i;
        ASSERT_EQ(Form->Series3->YValues().Value(i), d.Series[2][i]) << i;
        ASSERT_EQ(Form->Series1->XValues().Value(i), i);
    }
    EXPECT_TRUE(Boxes.Texts.isEmpty());

    // An error leaving an event is shown over the state it left.
    QString shown;
    TErrorBox::Instance().SetHook([&](const QString &, const QString &Text) { shown = Text + " / " + Form->Edit1->text(); });
    Retype(Form->Edit1, "");
    EXPECT_EQ(shown, "'' is not a valid floating point value. / ");
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
    EXPECT_FALSE(Form->Lab().Running());
    EXPECT_EQ(Form->RunLoop().State(), TState::Idle);
    const int64_t made = Form->RunLoop().PassesMade();
    QTest::qWait(20);
    EXPECT_EQ(Form->RunLoop().PassesMade(), made);
}

TEST_F(MainFormTest, RegionalChangeNoticeSwitchesTheSeparatorOfNewTexts)
{
    SetRegionalSettingsSource([] { return QLocale::c(); });
    QEvent notice(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &notice);
    Up(Form->UpDown2);
    EXPECT_EQ(Form->Edit2->text(), "0.4");
    Form->Lab().EngineForTest().StateForTest().InSnr = 0.5;
    Form->Timer1->OnTimer();
    EXPECT_EQ(Form->Label13->text(), "0.5");
    // A comma no longer reads as a separator.
    Retype(Form->Edit2, "0,3");
    EXPECT_EQ(Boxes.Texts.last(), "'0,3' is not a valid floating point value.");
    SetRegionalSettingsSource({});
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
    Form->Timer1->OnTimer();
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
