#include "ChartMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

#include <memory>

#include "ChartDataText.h"
#include "ChartPicture.h"
#include "ContextMenu.h"
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
        WriteFileSafely(choice.Path, Shot.Svg);
    else
        WriteImageSafely(choice.Path, Shot.Picture, "PNG");
    RememberSaveFolder(choice.Path);
}

void SaveData(QWidget *Parent, const TChartMenu::TSnapshot &Shot)
{
    const TSaveChoice choice = AskSaveFileName(Parent, QStringLiteral("Сохранить данные"),
                                               ProposedFileName(Shot.Title, QStringLiteral("csv")), CsvFilter);
    if (choice.Path.isEmpty())
        return;
    WriteFileSafely(choice.Path, Shot.Csv);
    RememberSaveFolder(choice.Path);
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
    const std::optional<QPoint> where = ContextMenuRequest(FChart, Event);
    if (where)
        Popup(*where);
    return where.has_value();
}

void TChartMenu::Popup(const QPoint &GlobalPos)
{
    const auto shot = std::make_shared<const TSnapshot>(Take(*FChart));
    QMenu *menu = ReplaceMenu(FMenu, FChart, QStringLiteral("ChartMenu"));
    // Each item runs from the event loop; an error (a file that cannot be written) is reported
    // there and the run goes on.
    QWidget *parent = FChart->window();
    menu->addAction(QStringLiteral("Копировать рисунок"), this, [shot] { CallGuarded([&] { CopyPicture(*shot); }); });
    menu->addAction(QStringLiteral("Сохранить рисунок…"), this,
                    [shot, parent] { CallGuarded([&] { SavePicture(parent, *shot); }); });
    menu->addAction(QStringLiteral("Сохранить данные…"), this,
                    [shot, parent] { CallGuarded([&] { SaveData(parent, *shot); }); });
    menu->addAction(QStringLiteral("Копировать данные"), this,
                    [shot] { CallGuarded([&] { QApplication::clipboard()->setText(shot->Tsv); }); });
    menu->popup(GlobalPos);
}
