// Loaded into the installed program with LD_PRELOAD: once the window "Form1" is shown it presses
// Start, waits until the input noise figure changes, presses Stop and closes the window, so
// the program exits on its own with status 0. Any failure ends the process with status 3.
// With LAB_PROBE_WATCH set it leaves Start to the user (a real click on a real display): it says
// where the button is, which font families the window and its figure boxes use and whether the
// window has its icon, waits for the figures to change,
// saves a grab of the whole screen to the file LAB_PROBE_WATCH names, then stops and closes.

#include <QApplication>
#include <QFontInfo>
#include <QScreen>
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

void Watch(const QString &Shot)
{
    auto *poll = new QTimer(qApp);
    auto *elapsed = new int(0);
    auto *before = new QString;
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, [=] {
        if ((*elapsed += 100) > 120000)
            Fail("the figures did not change within 120 s");
        QWidget *form = ShownForm();
        if (!form)
            return;
        auto *start = Child<QPushButton>(form, "Button1");
        if (before->isNull()) {
            *before = Child<QLabel>(form, "Label11")->text();
            const QPoint at = start->mapToGlobal(start->rect().center());
            const bool icon = !QApplication::windowIcon().pixmap(32, 32).isNull();
            std::fprintf(stderr, "probe: shown; font %s; figures %s; icon %s; start at %d %d\n",
                         qPrintable(QFontInfo(start->font()).family()),
                         qPrintable(QFontInfo(Child<QLabel>(form, "Label11")->font()).family()), icon ? "yes" : "no",
                         at.x(), at.y());
            return;
        }
        const QString now = Child<QLabel>(form, "Label11")->text();
        if (now == *before)
            return;
        poll->stop();
        std::fprintf(stderr, "probe: figures changed (noise RMS %s -> %s)\n", qPrintable(*before), qPrintable(now));
        // A moment for the charts to draw a few passes before the grab.
        QTimer::singleShot(1500, form, [=] {
            if (!QGuiApplication::primaryScreen()->grabWindow(0).save(Shot))
                Fail("the screen grab could not be saved");
            Child<QPushButton>(form, "Button2")->click();
            QTimer::singleShot(500, form, [form] { form->close(); });
        });
    });
    poll->start();
}

void Drive()
{
    if (qEnvironmentVariableIsSet("LAB_PROBE_WATCH"))
        return Watch(qEnvironmentVariable("LAB_PROBE_WATCH"));
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
