#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include "ChartSeries.h"
#include "Errors.h"
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
    std::vector<double> ShownAtOpening;
    std::unique_ptr<TForm1> Form = std::make_unique<TForm1>();

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        // The remembered folder lives with this test's files, apart from every other test's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
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
        return OpenMenuOf(Widget);
    }
    // The menu that is open, not one closed that awaits its deletion.
    static QMenu *OpenMenuOf(QWidget *Widget)
    {
        for (QMenu *menu : Widget->findChildren<QMenu *>())
            if (menu->isVisible())
                return menu;
        return nullptr;
    }
    static QStringList Items(QMenu *Menu)
    {
        QStringList items;
        for (const QAction *action : Menu->actions())
            items << action->text();
        return items;
    }
    static void Choose(QMenu *Menu, const QString &Item) { Menu->actions().value(Items(Menu).indexOf(Item))->trigger(); }
    // Saves through the output chart's menu, the chart redrawn with new points before the item is
    // chosen; returns the chart's grab of the moment the menu opened, its points in ShownAtOpening.
    QImage Save(const QString &Item, const QString &Name, const QString &Filter)
    {
        Choice = {Dir.filePath(Name), Filter};
        QMenu *menu = OpenMenu(Form->Chart3);
        const QImage grab = Form->Chart3->grab().toImage();
        ShownAtOpening.clear();
        for (int i = 0; i < Form->Series3->Count(); ++i)
            ShownAtOpening.push_back(Form->Series3->YValues().Value(i));
        Refresh();
        EXPECT_TRUE(Form->Chart3->grab().toImage() != grab) << "the chart changed while the menu was open";
        Choose(menu, Item);
        return grab;
    }
    void Refresh()
    {
        const int64_t before = Passes();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Passes() > before + 10; }, 5000));
        Form->Timer1->OnTimer();
    }
    QByteArray Contents(const QString &Name) const
    {
        QFile file(Dir.filePath(Name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    ASSERT_NE(OpenMenuOf(Form->Chart2), nullptr);
    OpenMenuOf(Form->Chart2)->close();
    // The figures' menu by the menu key, their group reached by Tab.
    QTest::keyClick(Form->Chart2, Qt::Key_Tab);
    QTest::keyClick(Form->Chart3, Qt::Key_Tab);
    ASSERT_TRUE(Form->GroupBox1->hasFocus());
    QTest::keyClick(Form->GroupBox1, Qt::Key_Menu);
    ASSERT_NE(OpenMenuOf(Form->GroupBox1), nullptr);
    EXPECT_EQ(Items(OpenMenuOf(Form->GroupBox1)), QStringList({"Копировать показатели"}));

    // The copied picture, a bitmap and an SVG, is that of the layout however far the window shrinks.
    QTest::mouseClick(Form->Button2, Qt::LeftButton);
    QTest::qWait(1);
    Choose(OpenMenu(Form->Chart1), "Копировать рисунок");
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(802, 480));
    Form->resize(600, 450);
    ASSERT_LT(Form->Scale(), 0.7);
    Choose(OpenMenu(Form->Chart1), "Копировать рисунок");
    EXPECT_TRUE(QApplication::clipboard()->image() == copied);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->data("image/svg+xml").contains("viewBox=\"0 0 401 240\""));
    EXPECT_TRUE(Boxes.Texts.isEmpty()) << Boxes.Texts.join("\n").toStdString();
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
    EXPECT_EQ(qRound(png.dotsPerMeterX() * 0.0254), 192);
    EXPECT_EQ(qRound(png.dotsPerMeterY() * 0.0254), 192);
    // The same name again: the dialog asked about "out" only, so the file with the suffix is asked about.
    const QByteArray first = Contents("out.png");
    Save("Сохранить рисунок…", "out", "Рисунок PNG (*.png)");
    EXPECT_EQ(Boxes.Questions, QStringList({"Файл «" + Dir.filePath("out.png") + "» уже существует. Заменить его?"}));
    EXPECT_EQ(Contents("out.png"), first);
    Boxes.Answer = true;
    Save("Сохранить рисунок…", "out", "Рисунок PNG (*.png)");
    EXPECT_EQ(Boxes.Questions.size(), 2);
    EXPECT_NE(Contents("out.png"), first);

    // The name's suffix, in any case, chooses the type.
    const QImage svgGrab = Save("Сохранить рисунок…", "out.SVG", "Рисунок PNG (*.png)");
    EXPECT_EQ(QFileInfo(Proposed[3]).absolutePath(), Dir.path()) << "the folder saved to last";
    QSvgRenderer svg(Dir.filePath("out.SVG"));
    ASSERT_EQ(svg.viewBox(), QRect(QPoint(0, 0), svgGrab.size()));
    QImage rendered(svgGrab.size() * 2, QImage::Format_RGB32);
    rendered.fill(Qt::white);
    QPainter painter(&rendered);
    svg.render(&painter);
    EXPECT_LT(Unlike(svgGrab, rendered), 0.01);
    const QByteArray svgText = Contents("out.SVG");
    EXPECT_TRUE(svgText.contains(">Сигнал + Шум на выходе фильтра</text>")) << "texts stay text";
    // The chart's size on a 96 dpi screen.
    const QRegularExpressionMatch size = QRegularExpression(R"(width="([\d.]+)mm" height="([\d.]+)mm")").match(svgText);
    ASSERT_TRUE(size.hasMatch());
    EXPECT_NEAR(size.captured(1).toDouble(), 401 * 25.4 / 96, 0.01);
    EXPECT_NEAR(size.captured(2).toDouble(), 241 * 25.4 / 96, 0.01);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), QStringList({"out.png", "out.SVG"}));
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
    ASSERT_EQ(ShownAtOpening.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const double shown = ShownAtOpening[i], saved = std::strtod(rows[i + 1].split(',')[1], nullptr);
        EXPECT_TRUE(rows[i + 1].startsWith(QByteArray::number(i) + ',') && rows[i + 1].endsWith('\r'));
        EXPECT_EQ(std::memcmp(&saved, &shown, sizeof shown), 0) << i;
        EXPECT_LE(rows[i + 1].split(',')[1].size(), QByteArray::number(shown, 'g', QLocale::FloatingPointShortest).size() + 1)
            << "no more digits than it takes";
        bool ok = false;
        EXPECT_EQ(QLocale(QLocale::Russian).toDouble(pasted[i + 1].section('\t', 1), &ok), Form->Series3->YValues().Value(i))
            << i;
        EXPECT_TRUE(ok && !pasted[i + 1].contains('.')) << pasted[i + 1].toStdString();
    }
}

TEST_F(ChartExportTest, AFolderThatCannotBeWrittenIsReportedAndTheRunGoesOn)
{
    Save("Сохранить данные…", "first.csv", "Таблица CSV (*.csv)");
    // Below a plain file no one writes, the superuser neither.
    QFile plain(Dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly) && plain.write("old") == 3);
    plain.close();
    Choice = {plain.fileName() + "/out.csv", "Таблица CSV (*.csv)"};
    Choose(OpenMenu(Form->Chart1), "Сохранить данные…");
    ASSERT_EQ(Boxes.Texts.size(), 1);
    EXPECT_EQ(Boxes.Texts[0], "Не удалось сохранить файл «" + plain.fileName() + "/out.csv»: " + qt_error_string(ENOTDIR) + ".");
    ExpectTheRunGoesOn();

    Choice = {}; // the dialog cancelled
    Choose(OpenMenu(Form->Chart1), "Сохранить рисунок…");
    EXPECT_EQ(Boxes.Texts.size(), 1);
    EXPECT_EQ(QFileInfo(Proposed.last()).absolutePath(), Dir.path()) << "only a folder saved into is remembered";
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList({"first.csv", "plain"}));
    EXPECT_EQ(Contents("plain"), "old");

    // A picture that cannot be encoded leaves the file it was to replace as it was.
    EXPECT_THROW(WriteImageSafely(plain.fileName(), QImage(), "PNG"), EInOutError);
    EXPECT_EQ(Contents("plain"), "old");

    // A folder saved into that is gone since is not proposed.
    ASSERT_TRUE(QDir(Dir.path()).mkdir("gone"));
    Save("Сохранить данные…", "gone/out", "Таблица CSV (*.csv)");
    ASSERT_TRUE(QFile::exists(Dir.filePath("gone/out.csv")));
    ASSERT_TRUE(QDir(Dir.filePath("gone")).removeRecursively());
    Choice = {};
    Choose(OpenMenu(Form->Chart1), "Сохранить рисунок…");
    EXPECT_NE(QFileInfo(Proposed.last()).absolutePath(), Dir.filePath("gone"));
    EXPECT_TRUE(QFileInfo(Proposed.last()).absoluteDir().exists());
    EXPECT_EQ(Boxes.Texts.size(), 1) << Boxes.Texts.join("\n").toStdString();
}

TEST_F(ChartExportTest, TheFiguresAreCopiedAsTheBoxesShowThem)
{
    OpenMenu(Form->Label13); // a figure's menu is that of its group
    const QStringList shown({"Вход: Пиковое значение сигнала\t" + Form->Label9->text(), "Вход: СКО шума\t" + Form->Label11->text(),
                             "Вход: С/Ш\t" + Form->Label13->text(), "Выход: Пиковое значение сигнала\t" + Form->Label1->text(),
                             "Выход: СКО шума\t" + Form->Label3->text(), "Выход: С/Ш\t" + Form->Label5->text(),
                             "Выход: Выигрыш в С/Ш\t" + Form->Label21->text(), ""});
    const QString noise = Form->Label11->text();
    // The figures copied are those of the moment the menu opened.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Refresh(), Form->Label11->text() != noise; }, 10000));
    Choose(OpenMenuOf(Form->GroupBox1), "Копировать показатели");
    EXPECT_EQ(QApplication::clipboard()->text().split('\n'), shown);
    EXPECT_TRUE(Form->Label21->text().contains(',')) << Form->Label21->text().toStdString();
}
