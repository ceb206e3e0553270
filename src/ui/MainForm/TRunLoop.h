#pragma once
// The scheduler of a run. Passes are made from the application's own event loop: a
// zero-interval timer runs a slice of passes and then lets the loop dispatch every pending
// event, so each event takes effect at the next pass. Start, Stop and an error in a pass are
// its state changes; no pass runs while an error box is open.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>

class TRunLoop : public QObject {
    Q_OBJECT
public:
    enum class TState { Idle, Active, Stalled };

    // A slice ends after SliceLength, or sooner, and never holds more than MaxSlicePasses
    // passes: that count bounds the time between two dispatches of the window's events
    // whatever the clock says. The slowest pass, the matched filter with the LFM pulse, takes
    // about 0.5 us here, so even a full slice of those lasts about 8 ms, within one frame.
    static constexpr std::chrono::nanoseconds SliceLength = std::chrono::milliseconds(2);
    static constexpr int MaxSlicePasses = 16384;

    TRunLoop(QObject *Parent, std::function<void()> Pass);

    TState State() const { return FState; }
    // Idle or Stalled -> Active; Active stays Active.
    void Start();
    // -> Idle; no further pass.
    void Stop();

    int64_t PassesMade() const { return FPassesMade; }
    // Holds the run (still Active) once this many passes have been made in all; for the
    // tests and the measurements, which need an exact count.
    void SetPassLimit(int64_t Limit);

private:
    void Slice();
    void Reschedule();

    std::function<void()> FPass;
    QTimer FTimer;
    TState FState = TState::Idle;
    int64_t FPassesMade = 0;
    int64_t FPassLimit = std::numeric_limits<int64_t>::max();
};
