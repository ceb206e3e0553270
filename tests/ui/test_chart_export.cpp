#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <unistd.h>

#include "ChartSeries.h"
#include "FileSaving.h"
#include "TButton.h"
#include "TChart.h"
#include "TFigureBox.h"
#include "TForm1.h"
#include "TRadioGroup.h"
#include "TRunLoop.h"
#include "TTimer.h"
#include "UiTestSupport.h"

namespace {
// The share of the grab's pixels of which the picture, Factor times as large, has no like
// pixel in the block that stands for it or next to it: texts are drawn at the picture's own
// resolution, everything else must fall on the same pixels.
double Unlike(const QImage &Grab, const QImage &Picture, int Factor)
{
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 60;
    };
    int unlike = 0;
    for (int y = 0; y < Grab.height(); ++y)
        for (int x = 0; x < Grab.width(); ++x) {
            bool found = false;
            for (int v = y * Factor - 1; v <= (y + 1) * Factor && !found; ++v)
                for (int u = x * Factor - 1; u <= (x + 1) * Factor && !found; ++u)
                    found = Picture.rect().contains(u, v) && near(Grab.pixel(x, y), Picture.pixel(u, v));
            unlike += !found;
        }
    return double(unlike) / (Grab.width() * Grab.height());
}

struct ChartExportTest : ::testing::Test {
    TDecimalSeparatorScope Comma{","};
    TBoxCapture Boxes;
    QTemporaryDir Dir;
    TSaveChoice Choice;
    QStringList Proposed;
    std::unique_ptr<TForm1> Form = std::make_unique<TForm1>();

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        SetSaveDialogHook([this](const QString &ProposedPath, const QString &) {
            Proposed << ProposedPath;
            return Choice;
        });
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        // The Barker code through the matched filter, running on with the output chart drawn.
        QTest::mouseClick(Form->RadioGroup3->Button(1), Qt::LeftButton);
        QTest::mouseClick(Form->RadioGroup2->Button(1), Qt::LeftButton);
        QTest::mouseClick(Form->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Form->RunLoop().PassesMade() > 1000; }, 20000));
        Form->Timer1Timer(Form->Timer1);
    }
    void TearDown() override { SetSaveDialogHook({}); }

    QMenu *OpenMenu(QWidget *Widget)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50), Widget->mapToGlobal(QPoint(50, 50)));
        QApplication::sendEvent(Widget, &event);
        return Widget->findChild<QMenu *>();
    }
    static void Choose(QMenu *Menu, const QString &Item)
    {
        for (QAction *action : Menu->actions())
            if (action->text() == Item)
                return action->trigger();
        ADD_FAILURE() << "no item " << Item.toStdString();
    }
    // Saves through the chart's menu what it shows now; returns the chart's grab of that moment.
    QImage Save(const QString &Item, const QString &Name, const QString &Filter)
    {
        Choice = {Dir.filePath(Name), Filter};
        QMenu *menu = OpenMenu(Form->Chart3);
        const QImage grab = Form->Chart3->grab().toImage();
        Choose(menu, Item);
        return grab;
    }
    int64_t Passes() const { return Form->RunLoop().PassesMade(); }
};
} // namespace

TEST_F(ChartExportTest, EachChartOffersItsMenuByMouseAndKeysWhileTheRunGoesOn)
{
    for (TChart *chart : {Form->Chart1, Form->Chart2, Form->Chart3}) {
        QMenu *menu = OpenMenu(chart);
        ASSERT_NE(menu, nullptr);
        QStringList items;
        for (const QAction *action : menu->actions())
            items << action->text();
        EXPECT_EQ(items, QStringList({"Копировать рисунок", "Сохранить рисунок…", "Сохранить данные…", "Копировать данные"}));
        const int64_t before = Passes();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Passes() > before; }, 5000)) << "the run waits while the menu is open";
        menu->close();
        QTest::qWait(1);
    }
    QTest::mouseClick(Form->Chart2, Qt::LeftButton);
    EXPECT_TRUE(Form->Chart2->hasFocus());
    QTest::keyClick(Form->Chart2, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(Form->Chart2->findChild<QMenu *>(), nullptr);
    EXPECT_TRUE(Form->Chart2->findChild<QMenu *>()->isVisible());
    EXPECT_TRUE(Form->Running);
}

TEST_F(ChartExportTest, SavedPicturesShowWhatTheScreenShows)
{
    const QImage grab = Save("Сохранить рисунок…", "out", "Рисунок PNG (*.png)");
    ASSERT_EQ(Proposed.size(), 1);
    EXPECT_TRUE(QFileInfo(Proposed[0]).fileName().startsWith("Сигнал + Шум на выходе фильтра 20")) << Proposed[0].toStdString();
    EXPECT_TRUE(Proposed[0].endsWith(".png"));
    const QImage png(Dir.filePath("out.png"));
    ASSERT_EQ(png.size(), grab.size() * 2);
    EXPECT_LT(Unlike(grab, png, 2), 0.01);

    const QImage svgGrab = Save("Сохранить рисунок…", "out.svg", "Рисунок PNG (*.png)");
    QSvgRenderer svg(Dir.filePath("out.svg"));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), svgGrab.size()));
    QImage rendered(svgGrab.size() * 2, QImage::Format_RGB32);
    rendered.fill(Qt::white);
    {
        QPainter painter(&rendered);
        svg.render(&painter);
    }
    EXPECT_LT(Unlike(svgGrab, rendered, 2), 0.02);
    EXPECT_TRUE(QFile(Dir.filePath("out.svg")).open(QIODevice::ReadOnly));
    EXPECT_TRUE(Boxes.Texts.isEmpty()) << Boxes.Texts.join("\n").toStdString();
}

TEST_F(ChartExportTest, SavedDataReadBackExactlyAndTheClipboardHasRegionalNumbers)
{
    Save("Сохранить данные…", "points", "Таблица CSV (*.csv)");
    QFile file(Dir.filePath("points.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    ASSERT_EQ(rows.size(), 258);
    EXPECT_EQ(rows[0], "Отсчёт,Сигнал + Шум на выходе фильтра\r");
    for (int i = 0; i < 256; ++i) {
        const QList<QByteArray> fields = rows[i + 1].trimmed().split(',');
        ASSERT_EQ(fields.size(), 2);
        EXPECT_EQ(fields[0].toInt(), i);
        const double y = std::strtod(fields[1].constData(), nullptr), shown = Form->Series3->YValues().Value(i);
        EXPECT_EQ(std::memcmp(&y, &shown, sizeof y), 0) << i;
    }

    Choose(OpenMenu(Form->Chart3), "Копировать данные");
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 258);
    EXPECT_EQ(lines[0], "Отсчёт\tСигнал + Шум на выходе фильтра");
    const QLocale comma(QLocale::Russian);
    for (int i = 0; i < 256; ++i) {
        bool ok = false;
        EXPECT_EQ(comma.toDouble(lines[i + 1].section('\t', 1), &ok), Form->Series3->YValues().Value(i)) << i;
        EXPECT_TRUE(ok && !lines[i + 1].contains('.')) << lines[i + 1].toStdString();
    }
}

TEST_F(ChartExportTest, AFolderThatCannotBeWrittenIsReportedAndTheRunGoesOn)
{
    // The superuser writes into any folder of the disk but none of the kernel's.
    const QString folder = geteuid() == 0 ? QStringLiteral("/proc") : Dir.filePath("locked");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    Choice = {folder + "/out.csv", "Таблица CSV (*.csv)"};
    Choose(OpenMenu(Form->Chart1), "Сохранить данные…");
    ASSERT_EQ(Boxes.Texts.size(), 1);
    EXPECT_TRUE(Boxes.Texts[0].startsWith("Не удалось сохранить файл «" + folder + "/out.csv»: ")) << Boxes.Texts[0].toStdString();
    EXPECT_TRUE(QDir(folder).entryList({"out.csv*"}).isEmpty());
    const int64_t before = Passes();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Passes() > before; }, 5000));

    Choice = {};
    Choose(OpenMenu(Form->Chart1), "Сохранить рисунок…");
    EXPECT_EQ(Boxes.Texts.size(), 1);
    EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ChartExportTest, TheFiguresAreCopiedAsTheBoxesShowThem)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), Form->Label13->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Form->Label13, &event);
    QMenu *menu = Form->GroupBox1->findChild<QMenu *>();
    ASSERT_NE(menu, nullptr);
    Choose(menu, "Копировать показатели");
    const QStringList expected = {
        "Вход: Пиковое значение сигнала\t" + Form->Label9->text(), "Вход: СКО шума\t" + Form->Label11->text(),
        "Вход: С/Ш\t" + Form->Label13->text(),                     "Выход: Пиковое значение сигнала\t" + Form->Label1->text(),
        "Выход: СКО шума\t" + Form->Label3->text(),               "Выход: С/Ш\t" + Form->Label5->text(),
        "Выход: Выигрыш в С/Ш\t" + Form->Label21->text(),          ""};
    EXPECT_EQ(QApplication::clipboard()->text().split('\n'), expected);
    EXPECT_TRUE(Form->Label21->text().contains(',')) << Form->Label21->text().toStdString();
}
