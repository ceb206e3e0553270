#include "FormAccessibility.h"

#include <QAccessibleWidget>
#include <QString>

#include "AccessibleClass.h"

void InstallFormAccessibility()
{
    // A top-level window without a role of its own reads as a plain filler.
    InstallAccessibleClass(QStringLiteral("TForm1"),
                           [](QWidget *w) -> QAccessibleInterface * { return new QAccessibleWidget(w, QAccessible::Window); });
    InstallAccessibleClass(QStringLiteral("TChart"),
                           [](QWidget *w) -> QAccessibleInterface * { return new QAccessibleWidget(w, QAccessible::Chart); });
}
