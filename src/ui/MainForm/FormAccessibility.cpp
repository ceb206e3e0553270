#include "FormAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {
QAccessibleInterface *FormFactory(const QString &ClassName, QObject *Object)
{
    if (!Object || !Object->isWidgetType())
        return nullptr;
    // A top-level window without a role of its own reads as a plain filler.
    if (ClassName == QLatin1String("TForm1"))
        return new QAccessibleWidget(static_cast<QWidget *>(Object), QAccessible::Window);
    if (ClassName == QLatin1String("TChart"))
        return new QAccessibleWidget(static_cast<QWidget *>(Object), QAccessible::Chart);
    return nullptr;
}
} // namespace

void InstallFormAccessibility()
{
    static const bool installed = (QAccessible::installFactory(FormFactory), true);
    (void)installed;
}
