#pragma once
// Saving a file the user names: the save dialog, opened in the folder last saved to (kept in
// the application's settings), and a write that leaves either the whole new file or what was
// there before.

#include <QByteArray>
#include <QString>

#include <functional>

class QImage;
class QWidget;

struct TSaveChoice {
    QString Path;   // empty when the dialog was cancelled
    QString Filter; // the file type chosen
};

// Asks where to save. ProposedName is a file name without folder; Filters as QFileDialog
// takes them, the first proposed. A name typed without a known suffix gets that of the chosen
// type; where a file of that longer name exists, the user is asked whether to replace it, and
// a «Нет» counts as a cancelled dialog.
TSaveChoice AskSaveFileName(QWidget *Parent, const QString &Caption, const QString &ProposedName,
                            const QString &Filters);

// Replaces the dialog, for tests: the hook gets the proposed path and the filters.
using TSaveDialogHook = std::function<TSaveChoice(const QString &ProposedPath, const QString &Filters)>;
void SetSaveDialogHook(TSaveDialogHook Hook);

// The folder the dialog opens in: the last one saved to, else the user's pictures or home.
QString LastSaveFolder();
// Makes the folder of Path, a file just saved, the one the dialog opens in next.
void RememberSaveFolder(const QString &Path);

// Writes Data to Path through a temporary file in the same folder that replaces Path only
// once it is complete. Raises EInOutError naming the file and the reason.
void WriteFileSafely(const QString &Path, const QByteArray &Data);
// The same for Image in Format as QImageWriter names it ("PNG"); an image that cannot be
// encoded raises the same error and leaves Path as it was.
void WriteImageSafely(const QString &Path, const QImage &Image, const char *Format);

// A file name from a title and today's date, without characters that file systems refuse.
QString ProposedFileName(const QString &Title, const QString &Suffix);
