#include "TTimer.h"

#include "ErrorBox.h"

TTimer::TTimer(QObject *Parent, int Interval, bool Enabled) : QObject(Parent)
{
    FTimer.setInterval(Interval);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        if (OnTimer)
            CallGuarded(OnTimer);
    });
    SetEnabled(Enabled);
}

void TTimer::SetEnabled(bool Enabled)
{
    if (Enabled == FTimer.isActive())
        return;
    if (Enabled)
        FTimer.start();
    else
        FTimer.stop();
}
