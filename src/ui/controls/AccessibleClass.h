#pragma once
// The accessible interfaces of this program's own widget classes, chosen by class name: Qt
// asks its factories with the name of each class a widget is of, most derived first.

class QAccessibleInterface;
class QString;
class QWidget;

using TAccessibleMaker = QAccessibleInterface *(*)(QWidget *Widget);

// Widgets of the class named ClassName get the interface that Make builds. Safe to call
// again with the same pair.
void InstallAccessibleClass(const QString &ClassName, TAccessibleMaker Make);
