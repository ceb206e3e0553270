// Responsiveness of a run: the window's events are dispatched after at most one slice of
// passes, which ends by its time or, whatever the clock says, by its count of passes.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>

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

// Passes that cost nothing end a slice by their count, slow ones by the slice's time: either
// way the window's events wait for no more than a few milliseconds of passes. The bounds are
// the window's needs, not the loop's settings: 20 000 of the slowest passes (about 0.5 us
// each) still fit in one frame, while 400 passes of 50 us would already overrun it.
TEST(RunLoop, EventsAreDispatchedAfterAShortSliceOfPasses)
{
    const struct {
        const char *What;
        std::chrono::microseconds PassTime;
        int64_t Total, MostPerDispatch;
    } Cases[] = {
        {"passes that cost nothing", std::chrono::microseconds(0), 40 * 20000, 20000},
        {"passes of 50 us", std::chrono::microseconds(50), 4000, 400},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.What);
        TRunLoop Loop(nullptr, [&] {
            if (C.PassTime.count() == 0)
                return;
            QElapsedTimer Busy;
            Busy.start();
            while (Busy.nsecsElapsed() < std::chrono::nanoseconds(C.PassTime).count()) {
            }
        });
        Loop.SetPassLimit(C.Total);
        int64_t Last = 0, Longest = 0;
        TEcho Echo([&] {
            const int64_t Now = Loop.PassesMade();
            Longest = std::max(Longest, Now - Last);
            Last = Now;
        });
        Echo.Post();
        Loop.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Loop.PassesMade() >= C.Total; }, 60000));
        Echo.Stopped = true;
        QCoreApplication::sendPostedEvents(&Echo, QEvent::User); // counts the passes of the last slice
        Loop.Stop();
        EXPECT_LE(Longest, C.MostPerDispatch);
        EXPECT_GT(Longest, 0);
    }
}
