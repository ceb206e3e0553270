// Loaded into the installed program with LD_PRELOAD: once the window "Form1" is shown it presses
// Start, waits until a figure box shows a measured value, presses Stop and closes the window, so
// the program exits on its own with status 0. Any failure ends the process with status 3.

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char *What)
{
    std::fprintf(stderr, "start-stop probe: FAILED: %s\n", What);
    std::fflush(stderr);
    std::_Exit(3);
}

QWidget *ShownForm()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Form1") && w->isVisible())
            return w;
    return nullptr;
}

template <class T> T *Child(QWidget *Form, const char *Name)
{
    auto *child = Form->findChild<T *>(QString::fromLatin1(Name));
    if (!child)
        Fail(Name);
    return child;
}

enum class Step { WaitForWindow, Running, Stopped, Closing };

void Drive()
{
    auto *poll = new QTimer(qApp);
    auto *elapsed = new int(0);
    auto *step = new Step(Step::WaitForWindow);
    auto *startReturned = new bool(false);
    auto *before = new QString;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [=] {
        if ((*elapsed += 50) > 60000)
            Fail("no start and stop within 60 s");
        QWidget *form = ShownForm();
        switch (*step) {
        case Step::WaitForWindow:
            if (!form)
                return;
            if (QApplication::windowIcon().pixmap(32, 32).isNull())
                Fail("the window has no icon");
            *before = Child<QLabel>(form, "Label11")->text();
            *step = Step::Running;
            // Start does not return before Stop; it dispatches this timer in between.
            QTimer::singleShot(0, Child<QPushButton>(form, "Button1"), [=] {
                Child<QPushButton>(form, "Button1")->click();
                *startReturned = true;
            });
            return;
        case Step::Running:
            if (!form)
                Fail("the window went away during the run");
            if (Child<QLabel>(form, "Label11")->text() == *before)
                return;
            Child<QPushButton>(form, "Button2")->click();
            *step = Step::Stopped;
            return;
        case Step::Stopped:
            if (!form)
                Fail("the window went away after Stop");
            if (!*startReturned)
                return;
            std::fprintf(stderr, "start-stop probe: run went (noise RMS %s -> %s), stopped\n",
                         qPrintable(*before), qPrintable(Child<QLabel>(form, "Label11")->text()));
            *step = Step::Closing;
            form->close();
            return;
        case Step::Closing:
            return;
        }
    });
    poll->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Drive)
