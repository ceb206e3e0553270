// The matched filter's reference, its gain and the output delay.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "WaveShaping.h"

namespace {

using TDest = std::array<double, TWaveForm::MaxPeriodSamples>;

TDest Reference(TWaveForm &w, TSimpleKind Simple, TComplexKind Complex)
{
    TDest d;
    d.fill(-99.0); // every entry must be written
    w.BuildReference(Simple, Complex, d);
    return d;
}

constexpr double Sqrt3 = 1.7320508075688772;

} // namespace

TEST(Reference, SimpleShapes)
{
    TWaveForm w(10, 2000.0, 10.0);
    struct Case {
        TSimpleKind Kind;
        double (*Value)(int i);
    };
    const Case Cases[] = {
        {skRectangle, [](int) { return 1.0; }},
        {skRisingRamp, [](int i) { return Sqrt3 * i / 20; }},
        {skFallingRamp, [](int i) { return Sqrt3 * (1 - i / 20.0); }},
        {skTriangle, [](int i) { return i <= 10 ? Sqrt3 * i / 10 : Sqrt3 * (2 - i / 10.0); }},
    };
    for (const Case &c : Cases) {
        const TDest d = Reference(w, c.Kind, ckNone);
        EXPECT_EQ(w.ReferenceLength(), 20);
        for (int i = 0; i < 200; ++i) {
            if (i < 20)
                EXPECT_NEAR(d[i], c.Value(i), 1e-15) << "kind " << c.Kind << " index " << i;
            else
                EXPECT_EQ(d[i], 0.0) << "kind " << c.Kind << " index " << i;
        }
    }
}

TEST(Reference, ValuesToTheLastBitAtTheEndsAndTheApex)
{
    TWaveForm w(10, 2000.0, 10.0);
    TDest d = Reference(w, skRectangle, ckNone);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(d[i], 1.0);

    d = Reference(w, skRisingRamp, ckNone);
    EXPECT_EQ(d[1], 0.08660254037844387);
    EXPECT_EQ(d[19], 1.6454482671904334);
    EXPECT_EQ(d[20], 0.0);

    d = Reference(w, skFallingRamp, ckNone);
    EXPECT_EQ(d[0], Sqrt3);
    EXPECT_EQ(d[19], 0.08660254037844387);

    d = Reference(w, skTriangle, ckNone);
    EXPECT_EQ(d[9], 1.5588457268119895);
    // The falling half mirrors the rising half to the last bit.
    EXPECT_EQ(d[11], 1.5588457268119895);
    EXPECT_EQ(d[10], Sqrt3);
    EXPECT_LE(*std::max_element(d.begin(), d.end()), Sqrt3);

}

// The complex references are the pulses of the signal (whose values the generator's tests
// check) in their own time order, cut to the reference's length.
TEST(Reference, ComplexReferencesAreThePulsesInTheirOwnTimeOrder)
{
    for (const auto &[Kind, Length] : {std::pair{ckLfm, 100}, std::pair{ckBarker, 65}}) {
        TWaveForm w(10, 2000.0, 10.0);
        w.GenerateSample(skNone, Kind, 0.0, false, 0);
        const TDest d = Reference(w, skNone, Kind);
        EXPECT_EQ(w.ReferenceLength(), Length);
        for (int i = 0; i < 200; ++i)
            EXPECT_EQ(d[i], i < Length ? w.Pulse()[i] : 0.0) << i;
    }
}

TEST(Reference, RebuiltFromScratchOnEveryCall)
{
    TWaveForm w(10, 2000.0, 10.0);
    const TDest Lfm = Reference(w, skNone, ckLfm);
    const TDest Rect = Reference(w, skRectangle, ckNone);
    for (int i = 20; i < 100; ++i)
        EXPECT_EQ(Rect[i], 0.0) << i;
    EXPECT_EQ(Reference(w, skNone, ckLfm), Lfm);
    EXPECT_EQ(Reference(w, skNone, ckLfm), Lfm);
}

TEST(Reference, UnknownComplexKindWritesZerosAndKeepsTheLength)
{
    TWaveForm w(10, 2000.0, 10.0);
    Reference(w, skNone, ckBarker);
    const TDest d = Reference(w, skNone, static_cast<TComplexKind>(7)); // no such kind
    EXPECT_EQ(w.ReferenceLength(), 65);
    for (double v : d)
        EXPECT_EQ(v, 0.0);
}

// The delays of the references built are checked with the engine's matched sums.
TEST(Reference, GainsAndTheDelayBeforeAnyReference)
{
    const TWaveForm w(10, 2000.0, 10.0);
    EXPECT_EQ(w.OutputDelay(fkRC), 0);
    EXPECT_EQ(w.OutputDelay(fkMatched), 0);
    EXPECT_EQ(w.ReferenceGain(ckNone), 10.0);
    EXPECT_EQ(w.ReferenceGain(ckLfm), 17.88854381999832);
    EXPECT_EQ(w.ReferenceGain(ckBarker), 3.0769230769230769);
}

// The LFM pulse's energy, from which its steady matched peak 51.7573 / 200 x 8 sqrt(5) follows;
// the peaks themselves are checked on the engine.
TEST(Reference, LfmEnergy)
{
    TWaveForm w(10, 2000.0, 10.0);
    const TDest Lfm = Reference(w, skNone, ckLfm);
    double Energy = 0;
    for (double v : Lfm)
        Energy += v * v;
    EXPECT_NEAR(Energy, 51.7573, 0.5e-4);
}
