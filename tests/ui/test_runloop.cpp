// Responsiveness of a run: the window's events are dispatched after at most one slice of
// passes, counted in passes, so the bound holds whatever the machine's speed or load.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "TButton.h"
#include "TForm1.h"
#include "TRunLoop.h"

namespace {

// An event that posts itself again each time it is handled: every delivery is one dispatch of
// the window's event queue.
class TEcho : public QObject {
public:
    explicit TEcho(std::function<void()> OnDispatch) : FOnDispatch(std::move(OnDispatch)) {}
    void Post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    bool Stopped = false;

protected:
    bool event(QEvent *Event) override
    {
        if (Event->type() != QEvent::User)
            return QObject::event(Event);
        FOnDispatch();
        if (!Stopped)
            Post();
        return true;
    }

private:
    std::function<void()> FOnDispatch;
};

} // namespace

TEST(RunLoop, EventsAreDispatchedAfterAtMostOneSliceOfPasses)
{
    TForm1 Form;
    Form.show();
    constexpr int64_t Total = 30 * TRunLoop::MaxSlicePasses;
    Form.RunLoop().SetPassLimit(Total);
    int64_t Last = 0, Longest = 0, Dispatches = 0;
    TEcho Echo([&] {
        const int64_t Now = Form.RunLoop().PassesMade();
        Longest = std::max(Longest, Now - Last);
        Last = Now;
        ++Dispatches;
    });
    Echo.Post();
    Form.Button1->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form.RunLoop().PassesMade() >= Total; }, 60000));
    Echo.Stopped = true;
    QCoreApplication::sendPostedEvents(&Echo, QEvent::User); // counts the passes of the last slice
    Form.Button2->click();
    EXPECT_LE(Longest, TRunLoop::MaxSlicePasses);
    EXPECT_GE(Dispatches, Total / TRunLoop::MaxSlicePasses);
}
