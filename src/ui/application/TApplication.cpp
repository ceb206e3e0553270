#include "TApplication.h"

#include <QEvent>
#include <QWidget>

#include <clocale>

#include "RegionalSettings.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Qt switches the C library to the user's locale; the number conversions of the core do
    // their own separators and must see the C library's "." whatever the user's settings are.
    std::setlocale(LC_NUMERIC, "C");
    ReadRegionalSettings();
}

bool TApplication::event(QEvent *Event)
{
    if (Event->type() == QEvent::LocaleChange) {
        std::setlocale(LC_NUMERIC, "C");
        ReadRegionalSettings();
        emit RegionalSettingsChanged();
        // The chart labels follow the new separators at their next paint.
        for (QWidget *w : topLevelWidgets())
            w->update();
    }
    return QApplication::event(Event);
}
