#pragma once
// What the context menus of the charts and of the figure groups share: the requests that open
// one, and one menu open at a time, gone once closed.

#include <QPointer>

#include <optional>

class QEvent;
class QMenu;
class QPoint;
class QString;
class QWidget;

// Where Event asks for Widget's context menu, in global coordinates: at the pointer for a right
// click, at the widget's centre for the menu key, Shift+F10 or a screen reader's request; none
// for any other event.
std::optional<QPoint> ContextMenuRequest(QWidget *Widget, QEvent *Event);

// Closes the menu Open holds, if any, and holds a new empty one on Owner in its place, deleted
// when it closes.
QMenu *ReplaceMenu(QPointer<QMenu> &Open, QWidget *Owner, const QString &Name);
