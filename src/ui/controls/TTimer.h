#pragma once
// A timer with an interval in milliseconds that can be enabled and disabled; its ticks run
// OnTimer on the window's thread.

#include <QObject>
#include <QTimer>

#include <functional>

class TTimer : public QObject {
    Q_OBJECT
public:
    TTimer(QObject *Parent, int Interval, bool Enabled);

    bool Enabled() const { return FTimer.isActive(); }
    void SetEnabled(bool Enabled);
    int Interval() const { return FTimer.interval(); }

    std::function<void()> OnTimer;

private:
    QTimer FTimer;
};
