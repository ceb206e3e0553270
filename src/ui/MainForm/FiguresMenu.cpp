#include "FiguresMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

TFiguresMenu::TFiguresMenu(QObject *Parent, const QList<QGroupBox *> &Groups, const QList<QLabel *> &Figures)
    : QObject(Parent), FGroups(Groups), FFigures(Figures)
{
    for (QGroupBox *group : FGroups)
        group->installEventFilter(this);
}

QString TFiguresMenu::FiguresText() const
{
    QString text;
    for (const QLabel *figure : FFigures)
        text += figure->accessibleDescription() + QStringLiteral(": ") + figure->accessibleName() + QLatin1Char('\t') +
                figure->text() + QLatin1Char('\n');
    return text;
}

bool TFiguresMenu::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() != QEvent::ContextMenu || !FGroups.contains(Watched))
        return false;
    auto *group = static_cast<QGroupBox *>(Watched);
    const auto *menuEvent = static_cast<QContextMenuEvent *>(Event);
    if (FMenu)
        FMenu->close();
    // The figures as they stand at the click; the refresh may change them while the menu is open.
    const QString text = FiguresText();
    FMenu = new QMenu(group);
    FMenu->setObjectName(QStringLiteral("FiguresMenu"));
    FMenu->setAttribute(Qt::WA_DeleteOnClose);
    connect(FMenu, &QObject::destroyed, this, [this, menu = FMenu] {
        if (FMenu == menu)
            FMenu = nullptr;
    });
    FMenu->addAction(QStringLiteral("Копировать показатели"), this, [text] { QApplication::clipboard()->setText(text); });
    FMenu->popup(menuEvent->reason() == QContextMenuEvent::Mouse ? menuEvent->globalPos()
                                                                 : group->mapToGlobal(group->rect().center()));
    return true;
}
