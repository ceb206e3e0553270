#include "TApplication.h"

#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

#include "RegionalSettings.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Qt switches the C library to the user's locale. The program's number texts do not go
    // through it; it stays at "." for any library that writes numbers for machines to read.
    std::setlocale(LC_NUMERIC, "C");
    ReadRegionalSettings();
    // Qt's own dialogs, such as the save dialog of the charts, speak the user's language where
    // Debian's Qt translations are installed.
    auto *qtTexts = new QTranslator(this);
    if (qtTexts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
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
    }
    return QApplication::event(Event);
}
