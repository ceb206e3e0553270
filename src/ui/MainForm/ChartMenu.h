#pragma once
// The context menu of a chart (right button, the menu key, Shift+F10 or a screen reader's
// "show menu"): copy or save the chart as a picture, save or copy its points. Everything is
// taken as the chart stands when the menu opens; a run goes on meanwhile.

#include <QByteArray>
#include <QImage>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

class QPoint;
class TChart;

class TChartMenu : public QObject {
    Q_OBJECT
public:
    // The chart owns its menu.
    explicit TChartMenu(TChart *Chart);

    // What the items give: the picture at twice the size of the chart's layout, as SVG at that
    // size, the points as CSV and as tab-separated text with the regional decimal separator.
    struct TSnapshot {
        QString Title;
        QImage Picture;
        QByteArray Svg;
        QByteArray Csv;
        QString Tsv;
    };
    static TSnapshot Take(TChart &Chart);

    // The open menu, for tests and screen readers; null when none is open.
    QMenu *OpenMenu() const { return FMenu; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void Popup(const QPoint &GlobalPos);

    TChart *FChart;
    QPointer<QMenu> FMenu;
};
