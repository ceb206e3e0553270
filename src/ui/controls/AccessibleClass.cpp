#include "AccessibleClass.h"

#include <QAccessible>
#include <QHash>
#include <QString>
#include <QWidget>

namespace {
QHash<QString, TAccessibleMaker> &Makers()
{
    static QHash<QString, TAccessibleMaker> makers;
    return makers;
}

QAccessibleInterface *Factory(const QString &ClassName, QObject *Object)
{
    const TAccessibleMaker make = Makers().value(ClassName);
    if (!make || !Object || !Object->isWidgetType())
        return nullptr;
    return make(static_cast<QWidget *>(Object));
}
} // namespace

void InstallAccessibleClass(const QString &ClassName, TAccessibleMaker Make)
{
    static const bool installed = (QAccessible::installFactory(Factory), true);
    (void)installed;
    Makers().insert(ClassName, Make);
}
