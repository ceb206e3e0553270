#include "ChartMenu.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <memory>

#include "ChartDataText.h"
#include "ChartPicture.h"
#include "ErrorBox.h"
#include "FileSaving.h"
#include "NumberSettings.h"
#include "TChart.h"

namespace {
const QString PngFilter = QStringLiteral("Рисунок PNG (*.png)");
const QString SvgFilter = QStringLiteral("Векторный рисунок SVG (*.svg)");
const QString CsvFilter = QStringLiteral("Таблица CSV (*.csv)");

void SavePicture(QWidget *Parent, const TChartMenu::TSnapshot &Shot)
{
    const TSaveChoice choice = AskSaveFileName(Parent, QStringLiteral("Сохранить рисунок"),
                                               ProposedFileName(Shot.Title, QStringLiteral("png")),
                                               PngFilter + QStringLiteral(";;") + SvgFilter);
    if (choice.Path.isEmpty())
        return;
    if (choice.Filter == SvgFilter)
        return WriteFileSafely(choice.Path, Shot.Svg);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Shot.Picture.save(&buffer, "PNG");
    }
    WriteFileSafely(choice.Path, png);
}

void SaveData(QWidget *Parent, const TChartMenu::TSnapshot &Shot)
{
    const TSaveChoice choice = AskSaveFileName(Parent, QStringLiteral("Сохранить данные"),
                                               ProposedFileName(Shot.Title, QStringLiteral("csv")), CsvFilter);
    if (!choice.Path.isEmpty())
        WriteFileSafely(choice.Path, Shot.Csv);
}

void CopyPicture(const TChartMenu::TSnapshot &Shot)
{
    auto *data = new QMimeData;
    data->setImageData(Shot.Picture);
    // Programs that take vector pictures get the lines and texts as such.
    data->setData(QStringLiteral("image/svg+xml"), Shot.Svg);
    QApplication::clipboard()->setMimeData(data);
}
} // namespace

TChartMenu::TChartMenu(TChart *Chart) : QObject(Chart), FChart(Chart)
{
    Chart->installEventFilter(this);
}

TChartMenu::TSnapshot TChartMenu::Take(TChart &Chart)
{
    TSnapshot shot;
    const TChartPoints points = ChartPoints(Chart.Panel());
    shot.Title = QString::fromStdString(points.Title);
    shot.Picture = ChartImage(Chart, 2);
    shot.Svg = ChartSvg(Chart);
    shot.Csv = QByteArray::fromStdString(ChartPointsCsv(points));
    shot.Tsv = QString::fromStdString(ChartPointsTsv(points, DecimalSeparator()));
    return shot;
}

bool TChartMenu::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched != FChart)
        return false;
    if (Event->type() == QEvent::ContextMenu) {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(Event);
        Popup(menuEvent->reason() == QContextMenuEvent::Mouse ? menuEvent->globalPos()
                                                              : FChart->mapToGlobal(FChart->rect().center()));
        return true;
    }
    if (Event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(Event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            Popup(FChart->mapToGlobal(FChart->rect().center()));
            return true;
        }
    }
    return false;
}

void TChartMenu::Popup(const QPoint &GlobalPos)
{
    if (FMenu)
        FMenu->close();
    const auto shot = std::make_shared<const TSnapshot>(Take(*FChart));
    FMenu = new QMenu(FChart);
    FMenu->setObjectName(QStringLiteral("ChartMenu"));
    FMenu->setAttribute(Qt::WA_DeleteOnClose);
    connect(FMenu, &QObject::destroyed, this, [this, menu = FMenu] {
        if (FMenu == menu)
            FMenu = nullptr;
    });
    // Each item runs from the event loop; an error (a file that cannot be written) is reported
    // there and the run goes on.
    QWidget *parent = FChart->window();
    FMenu->addAction(QStringLiteral("Копировать рисунок"), this, [shot] { CallGuarded([&] { CopyPicture(*shot); }); });
    FMenu->addAction(QStringLiteral("Сохранить рисунок…"), this,
                     [shot, parent] { CallGuarded([&] { SavePicture(parent, *shot); }); });
    FMenu->addAction(QStringLiteral("Сохранить данные…"), this,
                     [shot, parent] { CallGuarded([&] { SaveData(parent, *shot); }); });
    FMenu->addAction(QStringLiteral("Копировать данные"), this,
                     [shot] { CallGuarded([&] { QApplication::clipboard()->setText(shot->Tsv); }); });
    FMenu->popup(GlobalPos);
}
