// The toolkit layer's event rules, which the window's handlers rely on.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "Errors.h"
#include "TEdit.h"
#include "TFigureBox.h"
#include "TProgressBar.h"
#include "TRadioGroup.h"
#include "TTimer.h"
#include "TUpDown.h"
#include "UiTestSupport.h"

namespace {

struct RadioGroupTest : ::testing::Test {
    QWidget Window;
    TRadioGroup *Group = new TRadioGroup(&Window, "G", {"a", "b", "c"});
    int Clicks = 0;
    int IndexSeenByHandler = -2;
    void SetUp() override
    {
        Group->setGeometry(0, 0, 200, 120);
        Group->OnClick = [this] {
            ++Clicks;
            IndexSeenByHandler = Group->ItemIndex();
        };
        Window.show();
    }
    void Click(int i) { QTest::mouseClick(Group->Button(i), Qt::LeftButton); }
};

TEST_F(RadioGroupTest, ClickRaisesOnlyForANewSelectionAndSeesTheNewIndex)
{
    Group->SetItemIndex(0);
    Click(0);
    EXPECT_EQ(Clicks, 0);
    Click(2);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(IndexSeenByHandler, 2);
    EXPECT_EQ(Group->ItemIndex(), 2);
    EXPECT_TRUE(Group->Button(2)->isChecked());
    EXPECT_FALSE(Group->Button(0)->isChecked());
}

TEST_F(RadioGroupTest, SettingItemIndexRaisesNothingAndMinusOneClearsEveryButton)
{
    Group->SetItemIndex(1);
    Group->SetItemIndex(-1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Group->ItemIndex(), -1);
    for (int i = 0; i < Group->Count(); ++i)
        EXPECT_FALSE(Group->Button(i)->isChecked()) << i;
    // From no selection any item is a new one, and the group stays exclusive afterwards.
    Click(1);
    Click(0);
    EXPECT_EQ(Clicks, 2);
    EXPECT_TRUE(Group->Button(0)->isChecked());
    EXPECT_FALSE(Group->Button(1)->isChecked());
}

TEST_F(RadioGroupTest, KeyboardSelectionRaisesClickAndTheSelectedOrElseTheFirstItemTakesTabFocus)
{
    Group->SetItemIndex(0);
    EXPECT_TRUE(Group->Button(0)->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(Group->Button(1)->focusPolicy() & Qt::TabFocus);
    QApplication::setActiveWindow(&Window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Group->Button(0)->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Group->Button(0));
    QTest::keyClick(Group->Button(0), Qt::Key_Down);
    EXPECT_EQ(Group->ItemIndex(), 1);
    EXPECT_EQ(Clicks, 1);
    // Without a selection the first item takes the focus unselected; a key then selects.
    const struct {
        Qt::Key Key;
        int Selected;
    } keys[] = {{Qt::Key_Down, 1}, {Qt::Key_Right, 1}, {Qt::Key_Up, 0}, {Qt::Key_Space, 0}};
    for (const auto &k : keys) {
        Group->SetItemIndex(-1);
        for (int i = 0; i < Group->Count(); ++i)
            EXPECT_EQ(bool(Group->Button(i)->focusPolicy() & Qt::TabFocus), i == 0) << i;
        Group->Button(0)->setFocus();
        const int clicks = Clicks;
        QTest::keyClick(Group->Button(0), k.Key);
        EXPECT_EQ(Group->ItemIndex(), k.Selected) << k.Key;
        EXPECT_EQ(Clicks, clicks + 1) << k.Key;
        EXPECT_EQ(QApplication::focusWidget(), Group->Button(k.Selected)) << k.Key;
    }
}

TEST_F(RadioGroupTest, OutOfRangeIndexMeansNoSelection)
{
    Group->SetItemIndex(1);
    Group->SetItemIndex(7);
    EXPECT_EQ(Group->ItemIndex(), -1);
    EXPECT_FALSE(Group->Button(1)->isChecked());
}

struct UpDownTest : ::testing::Test {
    QWidget Window;
    TEdit *Edit = new TEdit(&Window);
    TUpDown *UpDown = new TUpDown(&Window);
    int Clicks = 0;
    int Changes = 0;
    void SetUp() override
    {
        Edit->setGeometry(10, 10, 73, 32);
        Edit->setText("5");
        UpDown->resize(16, 32);
        UpDown->SetRange(1, 100);
        UpDown->SetPosition(5);
        UpDown->OnClick = [this](TUDBtnType) { ++Clicks; };
        Edit->OnChange = [this] { ++Changes; };
        Window.show();
    }
    void Up(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            QTest::mouseClick(UpDown->UpButton(), Qt::LeftButton);
    }
    void Down(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            QTest::mouseClick(UpDown->DownButton(), Qt::LeftButton);
    }
};

TEST_F(UpDownTest, UnattachedSpinnerStepsAndStopsAtTheLimitsWithoutWrapping)
{
    Up(2);
    EXPECT_EQ(UpDown->Position(), 7);
    EXPECT_EQ(Clicks, 2);
    Down(10);
    EXPECT_EQ(UpDown->Position(), 1);
    EXPECT_EQ(Clicks, 8); // six steps down to 1; the clicks at the limit raise nothing
    UpDown->SetPosition(100);
    Up();
    EXPECT_EQ(UpDown->Position(), 100);
    EXPECT_EQ(Clicks, 8);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Edit->text(), "5");
}

TEST_F(UpDownTest, AttachedSpinnerSitsAtTheBoxEdgeAndWritesEachStepIntoIt)
{
    UpDown->SetAssociate(Edit);
    EXPECT_EQ(UpDown->geometry(), QRect(83, 10, 16, 32));
    Up();
    EXPECT_EQ(Edit->text(), "6");
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Clicks, 1);
    // After typing, the next step starts from the number the box shows ...
    QTest::keyClick(Edit, Qt::Key_Backspace);
    QTest::keyClicks(Edit, "40");
    Up();
    EXPECT_EQ(Edit->text(), "41");
    EXPECT_EQ(UpDown->Position(), 41);
    // ... unless it is outside the range or not a whole number.
    Edit->SetText("500");
    Down();
    EXPECT_EQ(Edit->text(), "40");
    Edit->SetText("2,5");
    Down();
    EXPECT_EQ(Edit->text(), "39");
}

TEST_F(UpDownTest, ArrowKeysInTheAttachedBoxStepTheSpinner)
{
    UpDown->SetAssociate(Edit);
    QTest::keyClick(Edit, Qt::Key_Up);
    QTest::keyClick(Edit, Qt::Key_Up);
    QTest::keyClick(Edit, Qt::Key_Down);
    EXPECT_EQ(Edit->text(), "6");
    EXPECT_EQ(Clicks, 3);
}

TEST_F(UpDownTest, ProgramPositionIsHeldWithinTheRange)
{
    UpDown->SetPosition(-5);
    EXPECT_EQ(UpDown->Position(), 1);
    UpDown->SetPosition(40000);
    EXPECT_EQ(UpDown->Position(), 100);
    UpDown->SetRange(-32768, 32767);
    UpDown->SetPosition(32767);
    Up();
    EXPECT_EQ(UpDown->Position(), 32767);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Changes, 0);
}

TEST(EditTest, ChangeEventPerChangingKeystrokeAndPerDifferentProgramText)
{
    QWidget window;
    auto *edit = new TEdit(&window);
    QStringList seen;
    edit->OnChange = [&] { seen << edit->text(); };
    window.show();
    QTest::keyClicks(edit, "12");
    edit->SetText("12");
    edit->SetText("7");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(seen, QStringList({"1", "12", "7", ""}));
}

TEST(EditTest, ErrorOfAProgramChangeGoesToTheCallerAndATypedOneToTheBox)
{
    TBoxCapture boxes;
    QWidget window;
    auto *edit = new TEdit(&window);
    edit->OnChange = [] { throw EConvertError("bad"); };
    window.show();
    EXPECT_THROW(edit->SetText("x"), EConvertError);
    EXPECT_EQ(edit->text(), "x");
    EXPECT_TRUE(boxes.Texts.isEmpty());
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(boxes.Texts, QStringList({"bad."}));
}

TEST(ProgressBarTest, PositionIsKeptAndShownClampedToTheRange)
{
    QWidget window;
    TProgressBar bar(&window, 0, 1500);
    const struct {
        int Position, Shown;
    } cases[] = {{0, 0}, {38, 38}, {1500, 1500}, {2000, 1500}, {-3, 0}, {2147483647, 1500}};
    for (const auto &c : cases) {
        bar.SetPosition(c.Position);
        EXPECT_EQ(bar.Position(), c.Position);
        EXPECT_EQ(bar.value(), c.Shown) << c.Position;
    }
    EXPECT_FALSE(bar.isTextVisible());
}

// The width of the fill as the window shows it on the screen, read along the bar's middle row.
int ShownFillWidth(QWidget &Window, const TProgressBar &Bar)
{
    const QImage image = Window.screen()->grabWindow(Window.winId()).toImage();
    const QColor fill = Bar.palette().color(QPalette::Highlight);
    const QRect inner = Bar.InnerRect().translated(Bar.mapTo(&Window, QPoint(0, 0)));
    const int y = inner.center().y() * image.height() / Window.height();
    int width = 0;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == fill)
            ++width;
    return width * Window.width() / image.width();
}

struct TShownBar {
    QWidget Window;
    TProgressBar *Bar;
    TShownBar(int Width, int Height, int Max, int Position) : Bar(new TProgressBar(&Window, 0, Max))
    {
        Window.resize(100, 40);
        Bar->setGeometry(10, 10, Width, Height);
        Bar->SetPosition(Position);
        Window.show();
        static_cast<void>(QTest::qWaitForWindowExposed(&Window));
    }
    int Fill() { return ShownFillWidth(Window, *Bar); }
};

// A bar moved to a position shows what a bar shown afresh at that position shows: a fill in
// proportion to it, rounded to the nearest pixel (400 of 1500 on 62 pixels is 16.53: 17, not
// the 16 a cut would give), empty below Min and full above Max.
TEST(ProgressBarTest, EveryChangeOfPositionIsDrawnAsAContinuousFill)
{
    const struct {
        int Width, Height, Max;
    } bars[] = {{66, 14, 1500}, {66, 13, 1500}, {66, 13, 100}};
    const std::vector<std::vector<int>> sequences = {
        {0, 100, 200}, {300, 150}, {205, 400}, {100, 90}, {-5, 2000, 1}, {1499, 1500, 750, 0}};
    for (const auto &b : bars) {
        TShownBar moved(b.Width, b.Height, b.Max, 0);
        const int full = TShownBar(b.Width, b.Height, b.Max, b.Max + 1).Fill();
        EXPECT_GE(full, b.Width - 4);
        EXPECT_LE(full, b.Width);
        for (const auto &sequence : sequences)
            for (int position : sequence) {
                moved.Bar->SetPosition(position);
                const int fresh = TShownBar(b.Width, b.Height, b.Max, position).Fill();
                const double share = std::clamp(static_cast<double>(position) / b.Max, 0.0, 1.0);
                EXPECT_EQ(fresh, std::lround(share * full)) << b.Max << " at " << position;
                // The repaint comes with the window's next frame; a bar that skips it times out.
                static_cast<void>(QTest::qWaitFor([&] { return moved.Fill() == fresh; }, 1000));
                EXPECT_EQ(moved.Fill(), fresh) << b.Width << "x" << b.Height << " max " << b.Max << " at " << position;
            }
    }
}

TEST(TimerTest, AnErrorInATickIsReportedAndTheNextTickRunsAgain)
{
    TBoxCapture boxes;
    TTimer timer(nullptr, 5, false);
    int ticks = 0;
    timer.OnTimer = [&] {
        ++ticks;
        throw EInvalidOp();
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(boxes.Texts.size(), ticks);
    EXPECT_EQ(boxes.Texts.value(0), "Invalid floating point operation.");
}

TEST(FigureBoxTest, LongTextIsCutAtTheRightEdgeAndTheBoxKeepsItsSize)
{
    QWidget window;
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(Qt::white));
    window.resize(200, 50);
    auto *box = new TFigureBox(&window);
    box->setGeometry(10, 10, 65, 25);
    EXPECT_EQ(box->text(), "0");
    box->setText("1,235E0004 1,235E0004");
    EXPECT_EQ(box->size(), QSize(65, 25));
    EXPECT_TRUE(box->alignment() & Qt::AlignLeft);
    // Nothing of the text is drawn beyond the box.
    const QImage image = window.grab().toImage();
    const QRgb background = image.pixel(150, 20);
    for (int x = 76; x < 200; ++x)
        for (int y = 0; y < 50; ++y)
            ASSERT_EQ(image.pixel(x, y), background) << x << "," << y;
}

} // namespace
