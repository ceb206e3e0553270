#pragma once
// The scheduler of a run. The view calls Slice from its own event loop whenever the run wants
// passes (a zero-interval timer, or a browser's task queue) and dispatches its events in
// between, so each event takes effect at the next pass. Start, Stop and an error in a pass are
// its state changes.

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>

// The time a slice is measured against; nanoseconds from any fixed origin.
class TLabClock {
public:
    virtual ~TLabClock() = default;
    virtual int64_t Now() = 0;
};

class TRunScheduler {
public:
    enum class TState { Idle, Active, Stalled };

    // A slice ends after SliceLength, or sooner, and never holds more than MaxSlicePasses
    // passes: that count bounds the time between two dispatches of the window's events
    // whatever the clock says. The slowest pass, the matched filter with the LFM pulse, takes
    // about 0.5 us on the desktop, so even a full slice of those lasts about 8 ms, within one
    // frame.
    static constexpr std::chrono::nanoseconds SliceLength = std::chrono::milliseconds(2);
    static constexpr int MaxSlicePasses = 16384;
    // The clock is read once per batch; a batch is short against the slice even in the
    // slowest filter mode, and the slice ends before a further batch would overrun it.
    static constexpr int Batch = 64;
    static_assert(MaxSlicePasses % Batch == 0);

    TRunScheduler(std::function<void()> Pass, TLabClock &Clock) : FPass(std::move(Pass)), FClock(Clock) {}

    TState State() const { return FState; }
    // Idle or Stalled -> Active; Active stays Active.
    void Start() { FState = TState::Active; }
    // -> Idle; no further pass.
    void Stop() { FState = TState::Idle; }

    // True while Slice would make a pass.
    bool WantsPasses() const { return FState == TState::Active && FPassesMade < FPassLimit; }
    // One slice of passes. An error in a pass leaves the run Stalled and goes to the caller.
    void Slice();

    int64_t PassesMade() const { return FPassesMade; }
    // Holds the run (still Active) once this many passes have been made in all; for the
    // tests and the measurements, which need an exact count.
    void SetPassLimit(int64_t Limit) { FPassLimit = Limit; }

private:
    std::function<void()> FPass;
    TLabClock &FClock;
    TState FState = TState::Idle;
    int64_t FPassesMade = 0;
    int64_t FPassLimit = std::numeric_limits<int64_t>::max();
};
