// The engine's passes per second in every mode, built for WebAssembly and run under node or in
// a browser (make bench runs it where make web has built it). The page runs the lab in the
// browser's own thread, so every mode needs 100 000 passes a second to keep up with the
// desktop; a mode below that is marked. Plain C++ timing: Google Benchmark has no WebAssembly
// build in Debian.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "Experiment.h"
#include "WaveShaping.h"

namespace {

struct TMode {
    const char *Name;
    TSimpleKind Simple;
    TComplexKind Complex;
};

constexpr TMode Signals[] = {
    {"rectangle", skRectangle, ckNone}, {"rising ramp", skRisingRamp, ckNone}, {"falling ramp", skFallingRamp, ckNone},
    {"triangle", skTriangle, ckNone},   {"LFM", skNone, ckLfm},                {"Barker", skNone, ckBarker},
};
constexpr double Needed = 100000;
constexpr double SecondsPerMode = 0.5;

} // namespace

int main()
{
    using Clock = std::chrono::steady_clock;
    int Slow = 0;
    std::printf("%-28s %12s %10s\n", "mode", "passes/s", "us/pass");
    for (int Filter = fkRC; Filter <= fkMatched; ++Filter)
        for (const TMode &Mode : Signals) {
            auto Engine = std::make_unique<TExperiment>();
            Engine->StartRun();
            // The delayed copy on, as the heaviest generation; noise of 1.
            const TPassParameters P{1.0, true, 30, Mode.Simple, Mode.Complex, static_cast<TFilterKind>(Filter)};
            for (int i = 0; i < 2000; ++i) // past the first period and the kernel's set-up
                Engine->Pass(P);
            long Passes = 0;
            const auto Start = Clock::now();
            std::chrono::duration<double> Elapsed{};
            do {
                for (int i = 0; i < 1000; ++i)
                    Engine->Pass(P);
                Passes += 1000;
                Elapsed = Clock::now() - Start;
            } while (Elapsed.count() < SecondsPerMode);
            const double Rate = Passes / Elapsed.count();
            Slow += Rate < Needed;
            std::printf("%-28s %12.0f %10.2f%s\n",
                        (std::string(Filter == fkRC ? "RC, " : "matched, ") + Mode.Name).c_str(), Rate,
                        1e6 / Rate, Rate < Needed ? "  below 100 000 passes/s" : "");
        }
    std::printf("%s\n", Slow ? "some modes are too slow for the page" : "every mode keeps up");
    return 0;
}
