#include "ContextMenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

std::optional<QPoint> ContextMenuRequest(QWidget *Widget, QEvent *Event)
{
    const QPoint centre = Widget->mapToGlobal(Widget->rect().center());
    if (Event->type() == QEvent::ContextMenu) {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(Event);
        return menuEvent->reason() == QContextMenuEvent::Mouse ? menuEvent->globalPos() : centre;
    }
    if (Event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(Event);
        if ((key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier))
            return centre;
    }
    return std::nullopt;
}

QMenu *ReplaceMenu(QPointer<QMenu> &Open, QWidget *Owner, const QString &Name)
{
    if (Open)
        Open->close();
    Open = new QMenu(Owner);
    Open->setObjectName(Name);
    Open->setAttribute(Qt::WA_DeleteOnClose);
    return Open;
}
