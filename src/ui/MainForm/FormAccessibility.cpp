#include "FormAccessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QString>
#include <QWidget>

#include "AccessibleClass.h"
#include "TUpDown.h"

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
} // namespace

void InstallFormAccessibility()
{
    // A top-level window without a role of its own reads as a plain filler.
    InstallAccessibleClass(QStringLiteral("TForm1"),
                           [](QWidget *w) -> QAccessibleInterface * { return new QAccessibleWidget(w, QAccessible::Window); });
    InstallAccessibleClass(QStringLiteral("TChart"),
                           [](QWidget *w) -> QAccessibleInterface * { return new TChartAccessible(w); });
}

QString SpokenCaption(const QLabel *Caption)
{
    QString text = Caption->text().trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

void Describe(QWidget *Control, QLabel *Caption, const QString &Group)
{
    Control->setAccessibleName(SpokenCaption(Caption));
    if (!Caption->buddy())
        Caption->setBuddy(Control);
    if (auto *upDown = qobject_cast<TUpDown *>(Control))
        upDown->SetAccessibleQuantity(SpokenCaption(Caption));
    if (!Group.isEmpty())
        Control->setAccessibleDescription(Group);
}
