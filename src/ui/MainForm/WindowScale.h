#pragma once
// Shrinks a laid-out window uniformly: every control's place and size, the window's font and
// the charts' fonts and tick marks, all from the sizes they were made with, so the layout
// keeps its proportions at any factor.

#include <QFont>
#include <QList>
#include <QRect>
#include <QPointer>
#include <QVector>

#include <memory>

#include "ChartPanel.h"

class QAbstractButton;
class QWidget;
class TChart;
class TScaledIndicatorStyle;

// A rectangle at Factor, its edges rounded so that neighbours that touch still touch.
QRect ScaledRect(const QRect &Rect, double Factor);
// A font size at Factor, rounded down so that a text never outgrows its scaled box; at least 1.
int ScaledFontSize(int Size, double Factor);

class TWindowScale {
public:
    TWindowScale();
    ~TWindowScale();
    TWindowScale(const TWindowScale &) = delete;
    TWindowScale &operator=(const TWindowScale &) = delete;

    // Takes the sizes to scale from: the window's font, the places of its direct children and
    // of the children of each of Containers, and every chart among them, which keeps its
    // layout size for the pictures it gives.
    void Record(QWidget *Window, const QList<QWidget *> &Containers);
    // Lays the recorded window out at Factor (1 gives the recorded layout back).
    void Apply(double Factor);
    double Factor() const { return FFactor; }

private:
    struct TPlace {
        QWidget *Widget;
        QRect Rect;
    };

    QWidget *FWindow = nullptr;
    QFont FFont;
    QVector<TPlace> FPlaces;
    // Each keeps its layout's sizes, which the factor scales.
    QVector<TChart *> FCharts;
    // Check boxes and radio items: the style draws their marks at a fixed size, so a style
    // of the window's own draws them at its factor.
    QVector<QPointer<QAbstractButton>> FMarked;
    std::unique_ptr<TScaledIndicatorStyle> FMarkStyle;
    double FFactor = 1.0;
};
