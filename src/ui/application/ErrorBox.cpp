#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ApplicationTitle.h"
#include "Errors.h"

TErrorBox &TErrorBox::Instance()
{
    static TErrorBox Box;
    return Box;
}

void TErrorBox::Show(const std::string &Message)
{
    const QString caption = ApplicationTitle();
    const QString text = QString::fromStdString(MessageBoxText(Message));
    ++FOpenCount;
    if (FOpenCount == 1)
        emit Opened();
    if (FHook) {
        FHook(caption, text);
    } else {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    --FOpenCount;
    if (FOpenCount == 0)
        emit Closed();
}

std::string ErrorMessage(std::exception_ptr Error)
{
    try {
        std::rethrow_exception(Error);
    } catch (const Exception &e) {
        return e.Message();
    } catch (const std::exception &e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

bool CallGuarded(const std::function<void()> &Body, const std::function<void()> &OnError)
{
    std::exception_ptr error;
    try {
        Body();
        return true;
    } catch (...) {
        error = std::current_exception();
    }
    // The box runs outside the catch block: it may dispatch events that raise and catch again.
    try {
        if (OnError)
            OnError();
        TErrorBox::Instance().Show(ErrorMessage(error));
    } catch (...) {
        // A fault while reporting a fault (out of memory) has nowhere left to go.
    }
    return false;
}

namespace {
TQuestionHook &QuestionHook()
{
    static TQuestionHook Hook;
    return Hook;
}
} // namespace

void SetQuestionHook(TQuestionHook Hook)
{
    QuestionHook() = std::move(Hook);
}

bool AskYesNo(const QString &Question)
{
    const QString caption = ApplicationTitle();
    if (QuestionHook())
        return QuestionHook()(caption, Question);
    QMessageBox box(QMessageBox::Question, caption, Question, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    QPushButton *yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
