#pragma once
// The application's title, which captions the error message box: the program file's name
// without its folder and without everything from its first "." on, every character after
// the first in lower case.

#include <QString>

QString ApplicationTitleFromPath(const QString &FilePath);

// The title of the running program (from its own file name).
QString ApplicationTitle();
