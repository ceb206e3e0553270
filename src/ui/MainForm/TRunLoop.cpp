#include "TRunLoop.h"

#include <algorithm>

#include "ErrorBox.h"

TRunLoop::TRunLoop(QObject *Parent, std::function<void()> Pass) : QObject(Parent), FPass(std::move(Pass))
{
    FTimer.setInterval(0);
    connect(&FTimer, &QTimer::timeout, this, &TRunLoop::Slice);
    // While an error box is open the run waits; it goes on once the box is closed.
    connect(&TErrorBox::Instance(), &TErrorBox::Opened, this, &TRunLoop::Reschedule);
    connect(&TErrorBox::Instance(), &TErrorBox::Closed, this, &TRunLoop::Reschedule);
}

void TRunLoop::Start()
{
    FState = TState::Active;
    Reschedule();
}

void TRunLoop::Stop()
{
    FState = TState::Idle;
    Reschedule();
}

void TRunLoop::SetPassLimit(int64_t Limit)
{
    FPassLimit = Limit;
    Reschedule();
}

void TRunLoop::Reschedule()
{
    const bool run = FState == TState::Active && !TErrorBox::Instance().IsOpen() && FPassesMade < FPassLimit;
    if (run && !FTimer.isActive())
        FTimer.start();
    else if (!run && FTimer.isActive())
        FTimer.stop();
}

void TRunLoop::Slice()
{
    if (FState != TState::Active || TErrorBox::Instance().IsOpen())
        return Reschedule();
    // The clock is read once per batch; a batch is short against the slice even in the
    // slower filter mode, and the slice ends before a further batch would overrun it.
    constexpr int Batch = 64;
    static_assert(MaxSlicePasses % Batch == 0);
    const int64_t budget = SliceLength.count();
    QElapsedTimer clock;
    clock.start();
    const int64_t sliceEnd = std::min(FPassLimit, FPassesMade + MaxSlicePasses);
    CallGuarded(
        [&] {
            int64_t elapsed = 0;
            int64_t batchTime = 0;
            do {
                for (int i = 0; i < Batch && FPassesMade < sliceEnd; ++i) {
                    FPass();
                    ++FPassesMade;
                }
                const int64_t now = clock.nsecsElapsed();
                batchTime = now - elapsed;
                elapsed = now;
            } while (FPassesMade < sliceEnd && elapsed + batchTime < budget);
        },
        [this] { FState = TState::Stalled; });
    Reschedule();
}
