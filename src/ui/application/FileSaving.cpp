#include "FileSaving.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include "ErrorBox.h"
#include "Errors.h"

namespace {
TSaveDialogHook &DialogHook()
{
    static TSaveDialogHook Hook;
    return Hook;
}

QSettings Settings()
{
    const QString name = QCoreApplication::applicationName();
    return QSettings(name, name);
}

const QString LastFolderKey = QStringLiteral("LastSaveFolder");

// "*.png" of a filter such as "Рисунок PNG (*.png)".
QString FilterSuffix(const QString &Filter)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(Filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

[[noreturn]] void RaiseNotSaved(const QString &Path, const QString &Reason)
{
    throw EInOutError(QStringLiteral("Не удалось сохранить файл «%1»: %2")
                          .arg(QDir::toNativeSeparators(QFileInfo(Path).absoluteFilePath()), Reason)
                          .toStdString());
}
} // namespace

void SetSaveDialogHook(TSaveDialogHook Hook)
{
    DialogHook() = std::move(Hook);
}

QString LastSaveFolder()
{
    const QString folder = Settings().value(LastFolderKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

TSaveChoice AskSaveFileName(QWidget *Parent, const QString &Caption, const QString &ProposedName,
                            const QString &Filters)
{
    const QString proposed = QDir(LastSaveFolder()).filePath(ProposedName);
    TSaveChoice choice;
    if (DialogHook()) {
        choice = DialogHook()(proposed, Filters);
    } else {
        choice.Filter = Filters.section(QStringLiteral(";;"), 0, 0);
        choice.Path = QFileDialog::getSaveFileName(Parent, Caption, proposed, Filters, &choice.Filter);
    }
    if (choice.Path.isEmpty())
        return {};
    const QStringList known = [&] {
        QStringList suffixes;
        for (const QString &filter : Filters.split(QStringLiteral(";;")))
            suffixes << FilterSuffix(filter);
        return suffixes;
    }();
    const QString suffix = QFileInfo(choice.Path).suffix().toLower();
    if (known.contains(suffix)) {
        // The name decides the type where it names one.
        for (const QString &filter : Filters.split(QStringLiteral(";;")))
            if (FilterSuffix(filter) == suffix)
                choice.Filter = filter;
    } else {
        choice.Path += QLatin1Char('.') + FilterSuffix(choice.Filter);
        // The dialog asked about replacing the name as typed, not this one.
        if (QFileInfo::exists(choice.Path) &&
            !AskYesNo(QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(QDir::toNativeSeparators(choice.Path))))
            return {};
    }
    return choice;
}

void RememberSaveFolder(const QString &Path)
{
    Settings().setValue(LastFolderKey, QFileInfo(Path).absolutePath());
}

void WriteFileSafely(const QString &Path, const QByteArray &Data)
{
    QSaveFile file(Path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(Data) == Data.size() && file.commit();
    if (!written)
        RaiseNotSaved(Path, file.errorString());
}

void WriteImageSafely(const QString &Path, const QImage &Image, const char *Format)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, Format);
    if (!writer.write(Image))
        RaiseNotSaved(Path, writer.errorString());
    WriteFileSafely(Path, encoded);
}

QString ProposedFileName(const QString &Title, const QString &Suffix)
{
    QString name = Title;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    return name.trimmed() + QLatin1Char(' ') + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('.') + Suffix;
}
