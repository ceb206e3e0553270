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
#include <functional>
#include <string>
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

// Each control forwards its user's actions to its model through the view's forwarder and
// draws the model's state; the rules of the events are the models' own.
struct ControlTest : ::testing::Test {
    // The models outlive the window, whose controls read them until they go.
    TRadioGroupModel Radio{3, 0};
    TEditModel Text{"5"};
    TUpDownModel Spin{1, 100, 5, &Text};
    QWidget Window;
    int Forwarded = 0;
    std::vector<std::function<void()>> Redraws;
    // As the window forwards: the action at the catching point, then every control drawn.
    TForwarder Forward = [this](const std::function<void()> &Action) {
        ++Forwarded;
        CallGuarded(Action);
        for (const auto &redraw : Redraws)
            redraw();
    };
    void SetUp() override
    {
        Window.show();
        QApplication::setActiveWindow(&Window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
};

TEST_F(ControlTest, RadioGroupForwardsMouseAndKeysAndDrawsTheModelsSelection)
{
    TRadioGroupModel &model = Radio;
    int clicks = 0;
    model.OnClick = [&] { ++clicks; };
    auto *group = new TRadioGroup(&Window, "G", {"a", "b", "c"}, model, Forward);
    group->setGeometry(0, 0, 200, 120);
    group->show();
    Redraws.push_back([group] { group->Draw(); });
    QTest::mouseClick(group->Button(2), Qt::LeftButton);
    EXPECT_EQ(model.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(group->Button(2)->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(group->Button(0)->focusPolicy() & Qt::TabFocus);
    group->Button(2)->setFocus();
    QTest::keyClick(group->Button(2), Qt::Key_Up);
    EXPECT_EQ(model.ItemIndex(), 1);
    // Without a selection no item is checked and the first takes the focus; a key then selects.
    const struct {
        Qt::Key Key;
        int Selected;
    } keys[] = {{Qt::Key_Down, 1}, {Qt::Key_Right, 1}, {Qt::Key_Up, 0}, {Qt::Key_Space, 0}};
    for (const auto &k : keys) {
        model.SetItemIndex(-1);
        group->Draw();
        for (int i = 0; i < group->Count(); ++i) {
            EXPECT_FALSE(group->Button(i)->isChecked()) << i;
            EXPECT_EQ(bool(group->Button(i)->focusPolicy() & Qt::TabFocus), i == 0) << i;
        }
        group->Button(0)->setFocus();
        QTest::keyClick(group->Button(0), k.Key);
        EXPECT_EQ(model.ItemIndex(), k.Selected) << k.Key;
        EXPECT_EQ(QApplication::focusWidget(), group->Button(k.Selected)) << k.Key;
        for (int i = 0; i < group->Count(); ++i)
            EXPECT_EQ(group->Button(i)->isChecked(), i == k.Selected) << i;
    }
    EXPECT_EQ(clicks, 6);
}

TEST_F(ControlTest, EditForwardsEachChangingKeystrokeAndDrawsTheModelsText)
{
    TBoxCapture boxes;
    TEditModel &model = Text;
    std::vector<std::string> seen;
    model.OnChange = [&] {
        seen.push_back(model.Text());
        if (model.Text() == "12x")
            throw EConvertError("bad");
    };
    auto *edit = new TEdit(&Window, model, Forward);
    edit->show();
    EXPECT_EQ(edit->text(), "5");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "12x");
    EXPECT_EQ(seen, std::vector<std::string>({"1", "12", "12x"}));
    EXPECT_EQ(boxes.Texts, QStringList({"bad."}));
    const int forwarded = Forwarded;
    model.OnChange = nullptr;
    model.SetText("7");
    edit->Draw();
    EXPECT_EQ(edit->text(), "7");
    EXPECT_EQ(Forwarded, forwarded); // a drawn text is no user's change
}

TEST_F(ControlTest, SpinnerSitsAtItsBoxEdgeAndForwardsArrowsAndArrowKeys)
{
    TUpDownModel &model = Spin;
    auto *edit = new TEdit(&Window, Text, Forward);
    auto *upDown = new TUpDown(&Window, model, Forward);
    Redraws.push_back([edit] { edit->Draw(); });
    edit->setGeometry(10, 10, 73, 32);
    upDown->resize(16, 32);
    upDown->SetAssociate(edit);
    edit->show();
    upDown->show();
    EXPECT_EQ(upDown->geometry(), QRect(83, 10, 16, 32));
    QTest::mouseClick(upDown->UpButton(), Qt::LeftButton);
    QTest::mouseClick(upDown->UpButton(), Qt::LeftButton);
    QTest::mouseClick(upDown->DownButton(), Qt::LeftButton);
    EXPECT_EQ(edit->text(), "6");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "7");
    EXPECT_EQ(upDown->Position(), 7);
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
