#pragma once
// The run's passes scheduled from the application's own event loop: a zero-interval timer
// makes one slice of the laboratory's passes per tick and then lets the loop dispatch every
// pending event, so each event takes effect at the next pass. No pass runs while an error
// box is open.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "RunScheduler.h"

class TLab;

class TRunLoop : public QObject, public TLabClock {
    Q_OBJECT
public:
    using TState = TRunScheduler::TState;

    explicit TRunLoop(QObject *Parent);
    // The laboratory whose passes this loop makes; its scheduler reads this loop's clock.
    void Attach(TLab &Lab);

    int64_t Now() override { return FClock.nsecsElapsed(); }

    TState State() const;
    int64_t PassesMade() const;
    // Holds the run once this many passes have been made in all, for the tests and the
    // measurements.
    void SetPassLimit(int64_t Limit);

    // Follows the laboratory's run: ticks while it wants passes and no error box is open.
    void Reschedule();

private:
    void Slice();

    TLab *FLab = nullptr;
    QTimer FTimer;
    QElapsedTimer FClock;
};
