#include "TApplication.h"

#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QWidget>

#include <clocale>

#include "RegionalSettings.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Qt switches the C library to the user's locale; the number conversions of the core do
    // their own separators and must see the C library's "." whatever the user's settings are.
    std::setlocale(LC_NUMERIC, "C");
    ReadRegionalSettings();
    // The desktop entry's name lets Wayland compositors find the menu entry and its icon; the
    // embedded icon covers window systems that take the icon from the window itself. The icon is
    // compiled into the program, not into this library, so test programs run without one.
    setDesktopFileName(QStringLiteral("org.optimalfiltering.OptimalFiltering"));
    const QString icon = QStringLiteral(":/icons/org.optimalfiltering.OptimalFiltering.svg");
    if (QFile::exists(icon))
        setWindowIcon(QIcon(icon));
}

bool TApplication::event(QEvent *Event)
{
    if (Event->type() == QEvent::LocaleChange) {
        std::setlocale(LC_NUMERIC, "C");
        ReadRegionalSettings();
        // The chart labels follow the new separators at their next paint.
        for (QWidget *w : topLevelWidgets())
            w->update();
    }
    return QApplication::event(Event);
}
