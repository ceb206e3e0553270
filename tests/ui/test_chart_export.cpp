#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
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
// The share of the grab's pixels for which the picture, twice as large, has no like pixel in
// the block that stands for it or next to it: texts are drawn at the picture's resolution,
// everything else must fall on the same pixels.
double Unlike(const QImage &Grab, const QImage &Picture)
{
    int unlike = 0;
    for (int y = 0; y < Grab.height(); ++y)
        for (int x = 0; x < Grab.width(); ++x) {
            bool found = false;
            for (int v = 2 * y - 1; v <= 2 * y + 2; ++v)
                for (int u = 2 * x - 1; u <= 2 * x + 2; ++u) {
                    const QRgb a = Grab.pixel(x, y), b = Picture.rect().contains(u, v) ? Picture.pixel(u, v) : 0;
                    found |= std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 60;
                }
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
        SetSaveDialogHook([this](const QString &Path, const QString &) {
            Proposed << Path;
            return Choice;
        });
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        // The Barker code through the matched filter, running on, its output drawn.
        QTest::mouseClick(Form->RadioGroup3->Button(1), Qt::LeftButton);
        QTest::mouseClick(Form->RadioGroup2->Button(1), Qt::LeftButton);
        QTest::mouseClick(Form->Button1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Passes() > 1000; }, 20000));
        Form->Timer1->OnTimer();
    }
    void TearDown() override { SetSaveDialogHook({}); }

    static QMenu *OpenMenu(QWidget *Widget)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(9, 9), Widget->mapToGlobal(QPoint(9, 9)));
        QApplication::sendEvent(Widget, &event);
        return Widget->findChild<QMenu *>();
    }
    static QStringList Items(QMenu *Menu)
    {
        QStringList items;
        for (const QAction *action : Menu->actions())
            items << action->text();
        return items;
    }
    static void Choose(QMenu *Menu, const QString &Item) { Menu->actions().value(Items(Menu).indexOf(Item))->trigger(); }
    // Saves through the output chart's menu; returns the chart's grab of the moment the menu opened.
    QImage Save(const QString &Item, const QString &Name, const QString &Filter)
    {
        Choice = {Dir.filePath(Name), Filter};
        QMenu *menu = OpenMenu(Form->Chart3);
        const QImage grab = Form->Chart3->grab().toImage();
        Choose(menu, Item);
        return grab;
    }
    int64_t Passes() const { return Form->RunLoop().PassesMade(); }
    void ExpectTheRunGoesOn()
    {
        const int64_t before = Passes();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Passes() > before; }, 5000));
    }
};
} // namespace

TEST_F(ChartExportTest, EachChartOffersItsMenuByMouseAndKeysWhileTheRunGoesOn)
{
    for (TChart *chart : {Form->Chart1, Form->Chart2, Form->Chart3}) {
        QMenu *menu = OpenMenu(chart);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Items(menu), QStringList({"Копировать рисунок", "Сохранить рисунок…", "Сохранить данные…", "Копировать данные"}));
        ExpectTheRunGoesOn();
        menu->close();
        QTest::qWait(1);
    }
    QTest::mouseClick(Form->Chart2, Qt::LeftButton);
    EXPECT_TRUE(Form->Chart2->hasFocus());
    QTest::keyClick(Form->Chart2, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(Form->Chart2->findChild<QMenu *>(), nullptr);
    EXPECT_TRUE(Form->Chart2->findChild<QMenu *>()->isVisible());
}

TEST_F(ChartExportTest, SavedPicturesShowWhatTheScreenShows)
{
    const QImage grab = Save("Сохранить рисунок…", "out", "Рисунок PNG (*.png)");
    ASSERT_EQ(Proposed.size(), 1);
    EXPECT_TRUE(QRegularExpression("/Сигнал \\+ Шум на выходе фильтра \\d{4}-\\d\\d-\\d\\d\\.png$").match(Proposed[0]).hasMatch())
        << Proposed[0].toStdString();
    const QImage png(Dir.filePath("out.png"));
    ASSERT_EQ(png.size(), grab.size() * 2);
    EXPECT_LT(Unlike(grab, png), 0.01);

    const QImage svgGrab = Save("Сохранить рисунок…", "out.svg", "Рисунок PNG (*.png)");
    EXPECT_EQ(QFileInfo(Proposed[1]).absolutePath(), Dir.path()) << "the folder saved to last";
    QSvgRenderer svg(Dir.filePath("out.svg"));
    ASSERT_EQ(svg.viewBox(), QRect(QPoint(0, 0), svgGrab.size()));
    QImage rendered(svgGrab.size() * 2, QImage::Format_RGB32);
    rendered.fill(Qt::white);
    QPainter painter(&rendered);
    svg.render(&painter);
    EXPECT_LT(Unlike(svgGrab, rendered), 0.01);
    QFile svgFile(Dir.filePath("out.svg"));
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains(">Сигнал + Шум на выходе фильтра</text>")) << "texts stay text";
    EXPECT_TRUE(Boxes.Texts.isEmpty()) << Boxes.Texts.join("\n").toStdString();
}

TEST_F(ChartExportTest, SavedDataReadBackExactlyAndTheClipboardHasRegionalNumbers)
{
    Save("Сохранить данные…", "points", "Таблица CSV (*.csv)");
    QFile file(Dir.filePath("points.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    Choose(OpenMenu(Form->Chart3), "Копировать данные");
    const QStringList pasted = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(rows.size(), 258);
    ASSERT_EQ(pasted.size(), 258);
    EXPECT_EQ(rows[0], "Отсчёт,Сигнал + Шум на выходе фильтра\r");
    EXPECT_EQ(pasted[0], "Отсчёт\tСигнал + Шум на выходе фильтра");
    for (int i = 0; i < 256; ++i) {
        const double shown = Form->Series3->YValues().Value(i), saved = std::strtod(rows[i + 1].split(',')[1], nullptr);
        EXPECT_TRUE(rows[i + 1].startsWith(QByteArray::number(i) + ',') && rows[i + 1].endsWith('\r'));
        EXPECT_EQ(std::memcmp(&saved, &shown, sizeof shown), 0) << i;
        bool ok = false;
        EXPECT_EQ(QLocale(QLocale::Russian).toDouble(pasted[i + 1].section('\t', 1), &ok), shown) << i;
        EXPECT_TRUE(ok && !pasted[i + 1].contains('.')) << pasted[i + 1].toStdString();
    }
}

TEST_F(ChartExportTest, AFolderThatCannotBeWrittenIsReportedAndTheRunGoesOn)
{
    // The superuser writes into any folder of a disk, but into none of the kernel's.
    const QString folder = geteuid() == 0 ? QStringLiteral("/proc") : Dir.filePath("locked");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    Choice = {folder + "/out.csv", "Таблица CSV (*.csv)"};
    Choose(OpenMenu(Form->Chart1), "Сохранить данные…");
    ASSERT_EQ(Boxes.Texts.size(), 1);
    EXPECT_TRUE(Boxes.Texts[0].startsWith("Не удалось сохранить файл «" + folder + "/out.csv»: ")) << Boxes.Texts[0].toStdString();
    EXPECT_TRUE(QDir(folder).entryList({"out.csv*"}).isEmpty());
    ExpectTheRunGoesOn();

    Choice = {}; // the dialog cancelled
    Choose(OpenMenu(Form->Chart1), "Сохранить рисунок…");
    EXPECT_EQ(Boxes.Texts.size(), 1);
    EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ChartExportTest, TheFiguresAreCopiedAsTheBoxesShowThem)
{
    OpenMenu(Form->Label13); // a figure's menu is that of its group
    Choose(Form->GroupBox1->findChild<QMenu *>(), "Копировать показатели");
    EXPECT_EQ(QApplication::clipboard()->text().split('\n'),
              QStringList({"Вход: Пиковое значение сигнала\t" + Form->Label9->text(), "Вход: СКО шума\t" + Form->Label11->text(),
                           "Вход: С/Ш\t" + Form->Label13->text(), "Выход: Пиковое значение сигнала\t" + Form->Label1->text(),
                           "Выход: СКО шума\t" + Form->Label3->text(), "Выход: С/Ш\t" + Form->Label5->text(),
                           "Выход: Выигрыш в С/Ш\t" + Form->Label21->text(), ""}));
    EXPECT_TRUE(Form->Label21->text().contains(',')) << Form->Label21->text().toStdString();
}
