// The window on one screen of a common size and pixel ratio: its place, its factor, every
// control in sight, a run started from the visible Start button and crisp chart lines. Each
// screen configuration runs this program once.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "TButton.h"
#include "TChart.h"
#include "TFigureBox.h"
#include "TForm1.h"
#include "TRadioGroup.h"
#include "WindowFit.h"

namespace {
struct TExpectedFit {
    int Left, Top;
    double Scale;
    int FontPixels; // the window's text size there
};

// What each screen gives, decoration included (the offscreen platform's frame is 4 pixels
// wide and high in all, where it decorates windows). Sizes are logical pixels: 1280x720@1.5
// and 960x540@2 are a 1920x1080 panel at 150 % and 200 %.
const std::map<std::string, TExpectedFit> ExpectedFits = {
    {"Screen1024x600", {194, 0, 0.780, 14}},       {"Screen1280x720", {194, 0, 0.937, 17}},
    {"Screen1280x720@1.5", {194, 0, 0.937, 17}},   {"Screen1280x720-undecorated", {194, 0, 0.9375, 17}},
    {"Screen1280x800", {194, 32, 1.0, 19}},        {"Screen1366x768", {194, 0, 1.0, 19}},
    {"Screen1536x864@1.25", {194, 96, 1.0, 19}},
    {"Screen1920x1080", {194, 132, 1.0, 19}},      {"Screen1920x1080@1.25", {194, 132, 1.0, 19}},
    {"Screen1920x1080@1.5", {194, 132, 1.0, 19}},  {"Screen1920x1080@2", {194, 132, 1.0, 19}},
    {"Screen960x540@2", {194, 0, 0.702, 13}},      {"Screen640x400", {24, 0, MinWindowScale, 11}},
};

class OnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TForm1>();
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        // The decoration arrives with the first frame; the fit follows it.
        QTest::qWait(50);
    }
    void TearDown() override
    {
        Form->Lab().Button2Click();
        Form.reset();
    }

    QRect Available() const { return Form->screen()->availableGeometry(); }
    // The visible controls of the window, the charts and group boxes with them.
    QList<QWidget *> Controls() const
    {
        QList<QWidget *> controls;
        for (QWidget *w : Form->findChildren<QWidget *>())
            if (w->isVisible() && !w->objectName().isEmpty())
                controls << w;
        return controls;
    }

    std::unique_ptr<TForm1> Form;
};

TEST_F(OnScreen, PlaceAndFactorFollowTheAvailableArea)
{
    const std::string screen = Form->screen()->name().toStdString();
    const auto expected = ExpectedFits.find(screen);
    ASSERT_NE(expected, ExpectedFits.end()) << "no expectation for " << screen;
    const QRect frame = Form->frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint(expected->second.Left, expected->second.Top)) << screen;
    EXPECT_NEAR(Form->Scale(), expected->second.Scale, 0.0005) << screen;
    EXPECT_EQ(Form->font().pixelSize(), expected->second.FontPixels) << screen;

    if (Form->Scale() == 1.0) {
        EXPECT_EQ(frame.size(), QSize(TForm1::StoredWidth, TForm1::StoredHeight)) << screen;
    } else {
        // Shrunk just enough: the frame fills the area's tighter side.
        if (Form->Scale() > MinWindowScale) {
            EXPECT_TRUE(frame.width() == Available().width() || frame.height() == Available().height()) << screen;
        }
        EXPECT_LT(Form->Chart1->Panel().Title().Font.PixelSize, 11) << screen;
    }
}

TEST_F(OnScreen, EveryControlLiesInsideTheWindowAndTheAvailableArea)
{
    const std::string screen = Form->screen()->name().toStdString();
    if (Form->Scale() > MinWindowScale)
        EXPECT_TRUE(Available().contains(Form->frameGeometry())) << screen;
    else // too small a screen: the window hangs over its bottom but starts on it
        EXPECT_TRUE(Available().contains(Form->frameGeometry().topLeft())) << screen;
    const QRect client = Form->rect();
    for (QWidget *control : Controls()) {
        const QRect inWindow(control->mapTo(Form.get(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(client.contains(inWindow)) << control->objectName().toStdString();
    }
}

TEST_F(OnScreen, CaptionsAndItemsKeepTheirWholeText)
{
    for (QWidget *control : Controls()) {
        const std::string name = control->objectName().toStdString();
        if (auto *label = qobject_cast<QLabel *>(control); label && !qobject_cast<TFigureBox *>(control)) {
            if (label->wordWrap())
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
            else
                EXPECT_LE(label->sizeHint().width(), label->width()) << name;
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
            EXPECT_LE(textWidth, button->width()) << name;
        }
    }
    for (TRadioGroup *group : Form->findChildren<TRadioGroup *>())
        for (QAbstractButton *item : group->findChildren<QAbstractButton *>())
            EXPECT_LE(item->sizeHint().width(), item->width()) << item->text().toStdString();
}

TEST_F(OnScreen, LayoutKeepsItsProportions)
{
    const double s = Form->Scale();
    const struct {
        QWidget *Control;
        QRect Made;
    } controls[] = {
        {Form->Chart1, {304, 8, 401, 240}},   {Form->Chart3, {304, 488, 401, 241}},
        {Form->GroupBox2, {712, 488, 297, 241}}, {Form->Button1, {16, 680, 121, 33}},
        {Form->RadioGroup2, {7, 407, 290, 82}},
    };
    for (const auto &c : controls) {
        const QRect r = c.Control->geometry();
        const std::string name = c.Control->objectName().toStdString();
        EXPECT_NEAR(r.left(), c.Made.left() * s, 1.0) << name;
        EXPECT_NEAR(r.top(), c.Made.top() * s, 1.0) << name;
        EXPECT_NEAR(r.width(), c.Made.width() * s, 1.0) << name;
        EXPECT_NEAR(r.height(), c.Made.height() * s, 1.0) << name;
    }
}

// Made smaller than its layout, by a user or a window manager, the window shrinks its content
// with it down to the least factor and no further; grown back it is the window it started as.
TEST_F(OnScreen, ResizedBelowItsLayoutItKeepsEveryControlInsideAndGrowsBackToItsFirstPixels)
{
    const QSize first = Form->size();
    const QImage started = Form->grab().toImage();
    for (const QSize &size : {QSize(820, 600), QSize(300, 200)}) {
        Form->resize(size);
        QTRY_COMPARE(Form->size(), size.expandedTo(Form->minimumSize()));
        const std::string what = std::to_string(size.width()) + "x" + std::to_string(size.height());
        EXPECT_LT(Form->Scale(), 1.0) << what;
        EXPECT_GE(Form->Scale(), MinWindowScale) << what;
        for (QWidget *control : Controls()) {
            const QRect inWindow(control->mapTo(Form.get(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(Form->rect().contains(inWindow)) << what << ": " << control->objectName().toStdString();
        }
    }
    EXPECT_DOUBLE_EQ(Form->Scale(), MinWindowScale);
    Form->resize(first);
    QTRY_COMPARE(Form->size(), first);
    EXPECT_EQ(Form->grab().toImage(), started);
}

TEST_F(OnScreen, StartAtItsVisiblePlaceRunsAndShowsTheFigures)
{
    QTest::mouseClick(Form->Button1, Qt::LeftButton, {}, Form->Button1->rect().center());
    ASSERT_TRUE(Form->Lab().Running());
    QTRY_VERIFY_WITH_TIMEOUT(!Form->Label9->text().isEmpty() && !Form->Label21->text().isEmpty(), 3000);
    QTest::mouseClick(Form->Button2, Qt::LeftButton, {}, Form->Button2->rect().center());
    EXPECT_FALSE(Form->Lab().Running());
}

TEST_F(OnScreen, ChartLinesStayCrispAtThePixelRatio)
{
    Form->Button1->click();
    QTRY_VERIFY_WITH_TIMEOUT(Form->Series2->Count() > 0, 3000);
    Form->Button2->click();
    TChart *chart = Form->Chart2;
    // Drawn as the window system's backing store draws it on this screen: in device pixels at
    // the screen's ratio (what a grab returns for that differs between Qt releases).
    const qreal ratio = Form->screen()->devicePixelRatio();
    QImage image(chart->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    chart->render(&image);
    // Inside the plot only the frame, the grid, the trace and the background show: no blend
    // of them that an anti-aliased line would leave.
    const QSet<QRgb> allowed = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(128, 128, 128),
                                chart->palette().color(QPalette::Button).rgb()};
    const auto &plot = chart->Panel().PlotRect();
    const QRect inPixels(std::lround(plot.Left * ratio), std::lround(plot.Top * ratio),
                         std::lround((plot.Right - plot.Left) * ratio), std::lround((plot.Bottom - plot.Top) * ratio));
    QSet<QRgb> blends;
    for (int y = inPixels.top(); y < inPixels.bottom(); ++y)
        for (int x = inPixels.left(); x < inPixels.right(); ++x)
            if (const QRgb c = image.pixel(x, y) | 0xff000000u; !allowed.contains(c))
                blends.insert(c);
    EXPECT_TRUE(blends.isEmpty()) << blends.size() << " blended colours, e.g. " << std::hex
                                  << (blends.isEmpty() ? 0u : *blends.begin());
}
} // namespace
