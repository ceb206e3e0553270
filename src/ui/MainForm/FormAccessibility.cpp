#include "FormAccessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QWidget>

namespace {
// A chart offers its context menu to a screen reader, as the menu key would open it.
class TChartAccessible : public QAccessibleWidget {
public:
    explicit TChartAccessible(QWidget *Chart) : QAccessibleWidget(Chart, QAccessible::Chart) {}

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString &Name) override
    {
        if (Name != showMenuAction() || !widget()->isEnabled())
            return;
        const QPoint centre = widget()->rect().center();
        QApplication::postEvent(widget(), new QContextMenuEvent(QContextMenuEvent::Keyboard, centre,
                                                                widget()->mapToGlobal(centre)));
    }
};

QAccessibleInterface *FormFactory(const QString &ClassName, QObject *Object)
{
    if (!Object || !Object->isWidgetType())
        return nullptr;
    // A top-level window without a role of its own reads as a plain filler.
    if (ClassName == QLatin1String("TForm1"))
        return new QAccessibleWidget(static_cast<QWidget *>(Object), QAccessible::Window);
    if (ClassName == QLatin1String("TChart"))
        return new TChartAccessible(static_cast<QWidget *>(Object));
    return nullptr;
}
} // namespace

void InstallFormAccessibility()
{
    static const bool installed = (QAccessible::installFactory(FormFactory), true);
    (void)installed;
}
