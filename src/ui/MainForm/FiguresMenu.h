#pragma once
// The context menu of the figure groups «Вход» and «Выход»: copies the seven figures as
// tab-separated rows "group: caption", figure, exactly as the boxes show them.

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

class QGroupBox;
class QLabel;

class TFiguresMenu : public QObject {
    Q_OBJECT
public:
    // Figures in the order of the rows; each box's accessible name is its caption and its
    // description its group.
    TFiguresMenu(QObject *Parent, const QList<QGroupBox *> &Groups, const QList<QLabel *> &Figures);

    QString FiguresText() const;
    QMenu *OpenMenu() const { return FMenu; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QList<QGroupBox *> FGroups;
    QList<QLabel *> FFigures;
    QPointer<QMenu> FMenu;
};
