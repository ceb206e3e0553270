#include "FiguresMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "ContextMenu.h"

TFiguresMenu::TFiguresMenu(QObject *Parent, const QList<QGroupBox *> &Groups, const QList<QLabel *> &Figures)
    : QObject(Parent), FGroups(Groups), FFigures(Figures)
{
    for (QGroupBox *group : FGroups)
        group->installEventFilter(this);
}

QString TFiguresMenu::FiguresText() const
{
    QString text;
    for (const QLabel *figure : FFigures)
        text += figure->accessibleDescription() + QStringLiteral(": ") + figure->accessibleName() + QLatin1Char('\t') +
                figure->text() + QLatin1Char('\n');
    return text;
}

bool TFiguresMenu::eventFilter(QObject *Watched, QEvent *Event)
{
    if (!FGroups.contains(Watched))
        return false;
    // Only a widget as such: the filter also sees the events of a group being taken down, when
    // it is no longer a group box.
    auto *group = static_cast<QWidget *>(Watched);
    const std::optional<QPoint> where = ContextMenuRequest(group, Event);
    if (!where)
        return false;
    // The figures as they stand at the request; the refresh may change them while the menu is open.
    const QString text = FiguresText();
    QMenu *menu = ReplaceMenu(FMenu, group, QStringLiteral("FiguresMenu"));
    menu->addAction(QStringLiteral("Копировать показатели"), this, [text] { QApplication::clipboard()->setText(text); });
    menu->popup(*where);
    return true;
}
