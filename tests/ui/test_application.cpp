// The catching point with its message box, the application's title and the regional settings.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>

#include "ApplicationTitle.h"
#include "Errors.h"
#include "NumberText.h"
#include "RegionalSettings.h"
#include "TChart.h"
#include "UiTestSupport.h"

namespace {

TEST(ApplicationTitleTest, FileNameUpToTheFirstDotWithTheRestInLowerCase)
{
    const struct {
        const char *Path, *Title;
    } cases[] = {
        {"/usr/bin/optimal-filtering", "optimal-filtering"},
        {"/opt/lab/OPTIMAL.EXE", "Optimal"},
        {"Lab.Tool.exe", "Lab"},
        {"/x/y/ФИЛЬТР.bin", "Фильтр"},
        {"/a.b/prog", "prog"},
        {".hidden", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ApplicationTitleFromPath(QString::fromUtf8(c.Path)), QString::fromUtf8(c.Title)) << c.Path;
    EXPECT_EQ(ApplicationTitle(), ApplicationTitleFromPath(QCoreApplication::applicationFilePath()));
}

TEST(CatchingPointTest, ErrorEndsTheBodyAndReachesTheBoxWithCaptionAndFullStopRule)
{
    TBoxCapture boxes;
    const struct {
        std::function<void()> Throw;
        const char *Text;
    } cases[] = {
        {[] { throw EConvertError("'' is not a valid floating point value"); }, "'' is not a valid floating point value."},
        {[] { throw EZeroDivide(); }, "Floating point division by zero."},
        {[] { throw EOverflow(); }, "Floating point overflow."},
        {[] { throw EInvalidOp(); }, "Invalid floating point operation."},
        {[] { throw EConvertError("ends with a stop."); }, "ends with a stop."},
        {[] { throw EConvertError("ends with a comma,"); }, "ends with a comma,"},
        {[] { throw EConvertError("ends in ()"); }, "ends in ()"},
        {[] { throw EConvertError("'5x'"); }, "'5x'"},
        {[] { throw EConvertError("значение"); }, "значение."},
        {[] { throw std::runtime_error("other"); }, "other."},
    };
    for (const auto &c : cases) {
        bool after = false;
        EXPECT_FALSE(CallGuarded([&] {
            c.Throw();
            after = true;
        }));
        EXPECT_FALSE(after);
    }
    ASSERT_EQ(boxes.Texts.size(), int(std::size(cases)));
    for (int i = 0; i < boxes.Texts.size(); ++i) {
        EXPECT_EQ(boxes.Texts[i], QString::fromUtf8(cases[i].Text));
        EXPECT_EQ(boxes.Captions[i], ApplicationTitle());
    }
}

TEST(CatchingPointTest, OnErrorRunsBeforeTheBoxAndTheBoxCountsAsOpenMeanwhile)
{
    bool openDuringHook = false;
    QStringList order;
    TErrorBox::Instance().SetHook([&](const QString &, const QString &) {
        openDuringHook = TErrorBox::Instance().IsOpen();
        order << "box";
    });
    EXPECT_TRUE(CallGuarded([] {}, [&] { order << "error"; }));
    EXPECT_FALSE(CallGuarded([] { throw EOverflow(); }, [&] { order << "error"; }));
    TErrorBox::Instance().SetHook({});
    EXPECT_EQ(order, QStringList({"error", "box"}));
    EXPECT_TRUE(openDuringHook);
    EXPECT_FALSE(TErrorBox::Instance().IsOpen());
}

TEST(ErrorBoxTest, TheRealBoxIsModalWithAnErrorIconAnOkButtonAndTheTitle)
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false, countedOpen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->isModal();
        countedOpen = TErrorBox::Instance().IsOpen();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    TErrorBox::Instance().Show("'abc' is not a valid floating point value");
    EXPECT_EQ(title, ApplicationTitle());
    EXPECT_EQ(text, "'abc' is not a valid floating point value.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(countedOpen);
    EXPECT_FALSE(TErrorBox::Instance().IsOpen());
}

struct RegionalSettingsTest : ::testing::Test {
    QLocale Source = QLocale::c();
    void SetUp() override
    {
        SetRegionalSettingsSource([this] { return Source; });
    }
    void TearDown() override
    {
        SetRegionalSettingsSource({});
        ReadRegionalSettings();
    }
};

// What the number texts write and what every chart is handed, before and after the notice.
TEST_F(RegionalSettingsTest, ChangeNoticeRereadsTheSeparatorsForNumbersAndCharts)
{
    TChart before;
    const struct {
        QLocale Locale;
        const char *Decimal;
        const char *Figure;
    } cases[] = {
        {QLocale(QLocale::Russian, QLocale::Russia), ",", "0,3"},
        {QLocale(QLocale::English, QLocale::UnitedStates), ".", "0.3"},
        {QLocale(QLocale::German, QLocale::Germany), ",", "0,3"},
        {QLocale(QLocale::German, QLocale::Switzerland), ".", "0.3"},
    };
    for (const auto &c : cases) {
        Source = c.Locale;
        QEvent notice(QEvent::LocaleChange);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &notice);
        TChart after;
        HandNumberSeparators(after);
        const std::string thousands = c.Locale.groupSeparator().toStdString();
        const std::string name = c.Locale.name().toStdString();
        EXPECT_EQ(FormatGeneral(0.3L, 4, 4), c.Figure) << name;
        for (const TChart *chart : {&before, &after}) {
            EXPECT_EQ(chart->Panel().NumberSeparators().Decimal, c.Decimal) << name;
            EXPECT_EQ(chart->Panel().NumberSeparators().Thousands, thousands) << name;
        }
    }
}

// A separator is taken when it is exactly one character; anything else gives "." and ",".
TEST_F(RegionalSettingsTest, SeparatorsThatAreNotOneCharacterFallBack)
{
    TChart chart;
    const struct {
        QString Decimal, Thousands;
        const char *WantDecimal, *WantThousands;
    } cases[] = {
        {",", "\u00A0", ",", "\u00A0"},
        {"\u066B", "\u066C", "\u066B", "\u066C"},
        {"\U0001F600", "'", "\U0001F600", "'"},
        {"", "", ".", ","},
        {",,", "ab", ".", ","},
        {"\u066B.", "\u00A0\u00A0", ".", ","},
    };
    for (const auto &c : cases) {
        ApplyNumberSeparators(c.Decimal, c.Thousands);
        const std::string shown = c.Decimal.toStdString() + "|" + c.Thousands.toStdString();
        EXPECT_EQ(FormatGeneral(2.5L, 15, 0), std::string("2") + c.WantDecimal + "5") << shown;
        EXPECT_EQ(ParseFloatText(std::string("2") + c.WantDecimal + "5"), 2.5L) << shown;
        EXPECT_EQ(chart.Panel().NumberSeparators().Decimal, c.WantDecimal) << shown;
        EXPECT_EQ(chart.Panel().NumberSeparators().Thousands, c.WantThousands) << shown;
    }
}

} // namespace
