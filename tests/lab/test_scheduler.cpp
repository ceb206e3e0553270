// The run's slices: the window's events are dispatched after at most one slice of passes,
// which ends by its time or, whatever the clock says, by its count of passes.

#include <gtest/gtest.h>

#include <stdexcept>

#include "RunScheduler.h"

namespace {

struct TTickingClock : TLabClock {
    int64_t Time = 0;
    int64_t Now() override { return Time; }
};

// The bounds are the window's needs, not the scheduler's settings: 20 000 of the slowest
// desktop passes (about 0.5 us each) still fit in one frame, while 400 passes of 50 us would
// already overrun it.
TEST(RunSchedulerTest, ASliceEndsByItsCountOrByItsTime)
{
    const struct {
        const char *What;
        int64_t PassTime;
        int64_t MostPerSlice;
    } cases[] = {{"passes that cost nothing", 0, 20000}, {"passes of 50 us", 50000, 400}};
    for (const auto &c : cases) {
        TTickingClock clock;
        TRunScheduler run([&] { clock.Time += c.PassTime; }, clock);
        run.Start();
        int64_t longest = 0;
        for (int slice = 0; slice < 20; ++slice) {
            const int64_t before = run.PassesMade();
            run.Slice();
            longest = std::max(longest, run.PassesMade() - before);
        }
        EXPECT_LE(longest, c.MostPerSlice) << c.What;
        EXPECT_GT(longest, 0) << c.What;
    }
}

TEST(RunSchedulerTest, StopsAtThePassLimitAndAnErrorStallsTheRun)
{
    TTickingClock clock;
    int64_t failAt = -1, made = 0;
    TRunScheduler run(
        [&] {
            if (made == failAt)
                throw std::runtime_error("pass");
            ++made;
        },
        clock);
    EXPECT_FALSE(run.WantsPasses());
    run.SetPassLimit(100);
    run.Start();
    while (run.WantsPasses())
        run.Slice();
    EXPECT_EQ(run.PassesMade(), 100);
    EXPECT_EQ(run.State(), TRunScheduler::TState::Active);

    failAt = 150;
    run.SetPassLimit(1000);
    EXPECT_THROW(run.Slice(), std::runtime_error);
    EXPECT_EQ(run.PassesMade(), 150);
    EXPECT_EQ(run.State(), TRunScheduler::TState::Stalled);
    EXPECT_FALSE(run.WantsPasses());
    failAt = -1;
    run.Start();
    run.Slice();
    EXPECT_EQ(run.State(), TRunScheduler::TState::Active);
    run.Stop();
    EXPECT_FALSE(run.WantsPasses());
}

} // namespace
