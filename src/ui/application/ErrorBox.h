#pragma once
// The one catching point for errors that leave a handler or a pass of the run, and the
// modal message box that reports them. Every entry from Qt into the program's own code
// goes through CallGuarded, so no exception ever unwinds through Qt. Also the program's
// yes-or-no question box.

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <string>

class TErrorBox : public QObject {
    Q_OBJECT
public:
    static TErrorBox &Instance();

    // Replaces the modal box, for tests: the hook receives what the box would show.
    using THook = std::function<void(const QString &Caption, const QString &Text)>;
    void SetHook(THook Hook) { FHook = std::move(Hook); }

    // Shows the box for one error message (UTF-8): error icon, OK button, the application's
    // title as caption and the message by the full-stop rule. Returns when the box is closed.
    void Show(const std::string &Message);

    bool IsOpen() const { return FOpenCount > 0; }

signals:
    void Opened();
    void Closed();

private:
    TErrorBox() = default;
    THook FHook;
    int FOpenCount = 0;
};

// The message an error carries (its text, or a fixed one for an error of unknown kind).
std::string ErrorMessage(std::exception_ptr Error);

// Runs Body; an error leaving it ends it there, OnError (if any) runs, and the box shows
// the error. Returns false when an error was reported.
bool CallGuarded(const std::function<void()> &Body, const std::function<void()> &OnError = {});

// Asks a question that a wrong guess would make costly: question icon, «Да» and «Нет» with «Нет»
// the default, the application's title as caption. True for «Да». A run goes on meanwhile.
bool AskYesNo(const QString &Question);
// Replaces the question box, for tests: the hook receives what the box would show and answers.
using TQuestionHook = std::function<bool(const QString &Caption, const QString &Text)>;
void SetQuestionHook(TQuestionHook Hook);
