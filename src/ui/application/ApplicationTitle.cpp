#include "ApplicationTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ApplicationTitleFromPath(const QString &FilePath)
{
    QString name = QFileInfo(FilePath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString ApplicationTitle()
{
    static const QString Title = ApplicationTitleFromPath(QCoreApplication::applicationFilePath());
    return Title;
}
