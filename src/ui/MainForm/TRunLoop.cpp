#include "TRunLoop.h"

#include "ErrorBox.h"
#include "Lab.h"

TRunLoop::TRunLoop(QObject *Parent) : QObject(Parent)
{
    FClock.start();
    FTimer.setInterval(0);
    connect(&FTimer, &QTimer::timeout, this, &TRunLoop::Slice);
    // While an error box is open the run waits; it goes on once the box is closed.
    connect(&TErrorBox::Instance(), &TErrorBox::Opened, this, &TRunLoop::Reschedule);
    connect(&TErrorBox::Instance(), &TErrorBox::Closed, this, &TRunLoop::Reschedule);
}

void TRunLoop::Attach(TLab &Lab)
{
    FLab = &Lab;
    Reschedule();
}

TRunLoop::TState TRunLoop::State() const
{
    return FLab->Scheduler().State();
}

int64_t TRunLoop::PassesMade() const
{
    return FLab->Scheduler().PassesMade();
}

void TRunLoop::SetPassLimit(int64_t Limit)
{
    FLab->Scheduler().SetPassLimit(Limit);
    Reschedule();
}

void TRunLoop::Reschedule()
{
    const bool run = FLab && FLab->Scheduler().WantsPasses() && !TErrorBox::Instance().IsOpen();
    if (run && !FTimer.isActive())
        FTimer.start();
    else if (!run && FTimer.isActive())
        FTimer.stop();
}

void TRunLoop::Slice()
{
    if (!TErrorBox::Instance().IsOpen())
        CallGuarded([this] { FLab->Slice(); });
    Reschedule();
}
