// The recursive filter block, the RC section and the correlation kernel.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "DSPTools.h"
#include "Errors.h"

namespace {

// The filter's equation read straight off the whole input and output sequences (zero before
// the first sample): y[n] = b[0] x[n] + sum over i = L-1 .. 1 of (b[i] x[n-i] - a[i] y[n-i]),
// the oldest delay first and its numerator term before its denominator term, each product
// added at extended precision and the sum rounded to 64 bits after every addition, the direct
// term last.
class TDirectForm {
public:
    TDirectForm(std::vector<double> B, std::vector<double> A) : FB(std::move(B)), FA(std::move(A)) {}
    void SetCoefficients(std::vector<double> B, std::vector<double> A)
    {
        FB = std::move(B);
        FA = std::move(A);
    }
    double Next(double x)
    {
        FXs.push_back(x);
        const std::size_t n = FXs.size() - 1;
        double s = 0;
        for (std::size_t i = FB.size() - 1; i >= 1; --i) {
            s = static_cast<double>(s + static_cast<long double>(XAgo(n, i)) * FB[i]);
            s = static_cast<double>(s - static_cast<long double>(YAgo(n, i)) * FA[i]);
        }
        FYs.push_back(static_cast<double>(static_cast<long double>(x) * FB[0] + s));
        return FYs.back();
    }
    // The input and output of i samples before the newest.
    double X(std::size_t i) const { return XAgo(FXs.size() - 1, i); }
    double Y(std::size_t i) const { return YAgo(FYs.size(), i + 1); }

private:
    double XAgo(std::size_t n, std::size_t i) const { return i <= n ? FXs[n - i] : 0.0; }
    // y[n - i] while y[n] is being formed: FYs holds y[0] .. y[n-1].
    double YAgo(std::size_t n, std::size_t i) const { return i <= n ? FYs[n - i] : 0.0; }

    std::vector<double> FB, FA, FXs, FYs;
};

} // namespace

TEST(IIRFilter, RCSectionStepResponse)
{
    auto f = CreateRCSection(0.8);
    ASSERT_EQ(f->Length(), 2);
    EXPECT_EQ(f->B(0), 1 - 0.8);
    EXPECT_EQ(f->B(1), 0.0);
    EXPECT_EQ(f->A(0), 1.0);
    EXPECT_EQ(f->A(1), -0.8);
    const double Expected[] = {0.2, 0.36, 0.488, 0.5904, 0.67232};
    for (double e : Expected)
        EXPECT_NEAR(f->Process(1.0), e, 4 * DBL_EPSILON);
    for (int n = 0; n < 300; ++n)
        f->Process(1.0);
    EXPECT_NEAR(f->Process(1.0), 1.0, 1e-14);
}

TEST(IIRFilter, FollowsTheDirectFormEquationBitForBitAtAnyOrder)
{
    const std::vector<double> B = {0.1, -0.3, 0.25, 1e-3, 0.7};
    const std::vector<double> A = {5.0, -0.5, 0.2, -0.05, 0.01};
    TIIRFilter f(B, A);
    TDirectForm Model(B, A);
    for (int n = 0; n < 1000; ++n) {
        const double x = std::sin(n * 0.37) + (n % 7 == 0 ? 1e-9 : 0.0);
        ASSERT_EQ(f.Process(x), Model.Next(x)) << n;
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(f.X(i), Model.X(i)) << n << " " << i;
            ASSERT_EQ(f.Y(i), Model.Y(i)) << n << " " << i;
        }
    }
}

TEST(IIRFilter, LengthOneIsAGain)
{
    TIIRFilter f(std::vector<double>{2.5}, std::vector<double>{1.0});
    ASSERT_EQ(f.Length(), 1);
    EXPECT_EQ(f.Process(3.0), 7.5);
    EXPECT_EQ(f.X(0), 3.0);
    EXPECT_EQ(f.Y(0), 7.5);
    EXPECT_EQ(f.Process(-1.0), -2.5);
}

TEST(IIRFilter, ResetClearsTheHistoriesOnly)
{
    auto f = CreateRCSection(0.8);
    for (int n = 0; n < 10; ++n)
        f->Process(1.0);
    f->Reset();
    EXPECT_EQ(f->X(0), 0.0);
    EXPECT_EQ(f->Y(1), 0.0);
    EXPECT_EQ(f->B(0), 1 - 0.8);
    EXPECT_EQ(f->Process(1.0), f->B(0));
}

TEST(IIRFilter, FirstDenominatorCoefficientHasNoEffect)
{
    TIIRFilter f(std::vector<double>{0.3, 0.2}, std::vector<double>{1.0, -0.6});
    TIIRFilter g(std::vector<double>{0.3, 0.2}, std::vector<double>{-42.0, -0.6});
    for (int n = 0; n < 100; ++n) {
        const double x = std::cos(n * 1.1);
        ASSERT_EQ(f.Process(x), g.Process(x));
    }
}

TEST(IIRFilter, SetCoefficientsKeepsTheHistories)
{
    const std::vector<double> B0 = {0.2, 0.0}, A0 = {1.0, -0.8};
    TIIRFilter f(B0, A0);
    TDirectForm Model(B0, A0);
    for (double x : {1.0, -3.0, 0.5}) {
        f.Process(x);
        Model.Next(x);
    }
    const double X0 = f.X(0), Y0 = f.Y(0);
    const std::vector<double> B = {0.5, 0.25}, A = {1.0, -0.5};
    f.SetCoefficients(B, A);
    Model.SetCoefficients(B, A);
    EXPECT_EQ(f.B(1), 0.25);
    EXPECT_EQ(f.A(1), -0.5);
    EXPECT_EQ(f.X(0), X0);
    EXPECT_EQ(f.Y(0), Y0);
    for (double x : {1.0, 2.0, -1.0})
        EXPECT_EQ(f.Process(x), Model.Next(x)) << x;
}

TEST(IIRFilter, MissingCoefficientsCountAsZero)
{
    TIIRFilter f(std::vector<double>{1.0}, std::vector<double>{1.0, -0.5, 0.25});
    ASSERT_EQ(f.Length(), 3);
    EXPECT_EQ(f.B(1), 0.0);
    EXPECT_EQ(f.B(2), 0.0);
    TIIRFilter g(std::vector<double>{1.0, 0.0, 0.0}, std::vector<double>{1.0, -0.5, 0.25});
    for (int n = 0; n < 50; ++n)
        ASSERT_EQ(f.Process(n == 0 ? 1.0 : 0.0), g.Process(n == 0 ? 1.0 : 0.0));

    f.SetCoefficients(std::vector<double>{0.5, 0.5}, std::vector<double>{1.0});
    EXPECT_EQ(f.B(2), 0.0);
    EXPECT_EQ(f.A(1), 0.0);
    EXPECT_EQ(f.A(2), 0.0);
}

TEST(IIRFilter, BadArgumentsAreRejected)
{
    EXPECT_THROW(TIIRFilter(std::vector<double>{}, std::vector<double>{}), EArgumentError);
    TIIRFilter f(std::vector<double>{0.2, 0.0}, std::vector<double>{1.0, -0.8});
    for (int32_t Index : {-1, 2, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_THROW(f.SetB(Index, 1.0), EArgumentError) << Index;
        EXPECT_THROW(f.SetA(Index, 1.0), EArgumentError) << Index;
    }
    EXPECT_THROW(f.SetCoefficients(std::vector<double>{1, 2, 3}, std::vector<double>{1}), EArgumentError);
    EXPECT_EQ(f.B(0), 0.2); // a refused call changes nothing
    EXPECT_EQ(f.A(1), -0.8);
    f.SetB(1, 0.125);
    EXPECT_EQ(f.B(1), 0.125);
    try {
        f.SetA(5, 0.0);
        ADD_FAILURE() << "SetA(5) on a filter of length 2 raised nothing";
    } catch (const EArgumentError &e) {
        EXPECT_EQ(e.Message(), "Filter coefficient index 5 of A is outside 0..1");
    }
}

TEST(IIRFilter, NonFiniteValuesPropagateUntilReset)
{
    auto f = CreateRCSection(0.8);
    EXPECT_TRUE(std::isinf(f->Process(INFINITY)));
    EXPECT_FALSE(std::isfinite(f->Process(1.0)));
    f->Reset();
    EXPECT_EQ(f->Process(1.0), f->B(0));
}

TEST(RCPole, FromTimeConstant)
{
    EXPECT_EQ(RCPoleFromTimeConstant(5), 0x1.a330ad6166159p-1); // exp(-0.2), correctly rounded
    EXPECT_EQ(RCPoleFromTimeConstant(INFINITY), 1.0);
    EXPECT_EQ(RCPoleFromTimeConstant(1e-5L), 0.0); // underflow is no fault
    EXPECT_GT(RCPoleFromTimeConstant(-1), 1.0);
}

TEST(RCPole, Faults)
{
    EXPECT_THROW(RCPoleFromTimeConstant(0), EZeroDivide);
    EXPECT_THROW(RCPoleFromTimeConstant(-0.0L), EZeroDivide);
    EXPECT_THROW(RCPoleFromTimeConstant(-1e-5L), EOverflow);
    EXPECT_THROW(RCPoleFromTimeConstant(-1e-3L), EOverflow); // fits extended, not 64 bits
    EXPECT_THROW(RCPoleFromTimeConstant(1e-4940L), EOverflow); // -1/tau leaves the extended range
    EXPECT_THROW(RCPoleFromTimeConstant(NAN), EInvalidOp);
}

namespace {

// The correlation term by term as written, the running sum stored as a double each time.
double LiteralSum(const std::vector<double> &w, const std::vector<double> &Taps, long double Gain, long double Divisor)
{
    volatile double s = 0;
    for (std::size_t i = 0; i < Taps.size(); ++i)
        s = static_cast<double>(s + ((w[i] * static_cast<long double>(Taps[i])) / Divisor) * Gain);
    return s;
}

using TKernelHistory = THistory<TFIRKernel::MaxLength>;

// The newest Count entries of H, oldest first.
std::vector<double> Newest(const TKernelHistory &H, int Count)
{
    std::vector<double> w;
    for (int i = TKernelHistory::Size - Count; i < TKernelHistory::Size; ++i)
        w.push_back(H[i]);
    return w;
}

} // namespace

// The kernel may form and round its sums its own way only where that gives the very bits of
// the literal sum. The streams mix ordinary samples with values at which another rounding
// shows (sums below 2^-1022 or beyond the 64-bit range), which then slide through the window
// and out of it again. Now and then the histories move on without the kernel, or one changes
// otherwise than by a push (a fill, as when the statistics restart, or a change of live
// length): the kernel must notice.
TEST(FIRKernel, EverySumHasTheBitsOfTheLiteralSum)
{
    struct TCase {
        const char *Name;
        std::vector<double> Taps;
        long double Gain;
        double Extreme;
    };
    const std::vector<double> Barker = {1, 1, 1, 1, 1, 0, -1, -1, 1, 1, -1, 1, -1, 1, 0, 0};
    const std::vector<double> General = {1, 0.75, std::sqrt(3.0) / 2, 0, -0.3, 1e-17, -1, 0.1};
    std::vector<double> Longest(TFIRKernel::MaxLength);
    for (std::size_t i = 0; i < Longest.size(); ++i)
        Longest[i] = i % 3 == 0 ? 0.5 : (i % 5 < 2 ? 1.0 : -1.0);
    const TCase Cases[] = {
        {"unit taps", Barker, 40.0L / 13, 0},           {"general taps", General, 17.9L, 0},
        {"tiny entries", Barker, 40.0L / 13, 2e-306}, {"subnormal general", General, 10, 3e-306},
        {"beyond the range", Barker, 1e100L, 1e290},    {"huge general", General, 1e30L, 1e285},
        {"tiny gain", General, 1e-306L, 0},             {"huge gain", Barker, 1e310L, 0},
        {"mixed taps", {1, 1, 0.5, -1, 1, 0, 0.25, -1}, 10, 0},
        {"all 256 taps", Longest, 3, 0},                {"infinite gain", Barker, INFINITY, 0},
        {"infinite gain, general", General, -INFINITY, 0},
    };
    // A lambda, so that a failing case ends only itself.
    auto Check = [](const TCase &C) {
        const int L = static_cast<int>(C.Taps.size());
        TFIRKernel K;
        K.SetTaps(C.Taps, C.Gain, 200);
        std::mt19937_64 Random(7);
        std::normal_distribution<double> Noise(0, 0.3);
        TKernelHistory H[TFIRKernel::Channels];
        for (int n = 0; n < 4000; ++n) {
            for (int c = 0; c < TFIRKernel::Channels; ++c) {
                // Now and then a run of extreme values of either sign, else ordinary samples.
                const bool Extreme = C.Extreme != 0 && (n / 50) % 7 == 3;
                H[c].Push(Extreme ? C.Extreme * (1 + Noise(Random)) : Noise(Random));
            }
            if (n % 500 == 250)
                H[n % 3].Fill(n % 2 ? 0.0 : 0.125);
            if (n % 700 == 350) {
                H[1].SetLiveLength(TKernelHistory::Size - 1);
                H[1].Push(0.375);
                H[1].SetLiveLength(TKernelHistory::Size);
            }
            if (n % 600 == 300)
                continue; // passes without the kernel, as under the RC filter
            TFIRKernel::TOutputs Out;
            K.Run<TKernelHistory::Size>({&H[0], &H[1], &H[2]}, Out);
            for (int c = 0; c < TFIRKernel::Channels; ++c)
                ASSERT_EQ(std::bit_cast<uint64_t>(Out[c]),
                          std::bit_cast<uint64_t>(LiteralSum(Newest(H[c], L), C.Taps, C.Gain, 200)))
                    << C.Name << ", pass " << n << ", channel " << c;
        }
    };
    for (const TCase &C : Cases)
        Check(C);
}

TEST(FIRKernel, AtMostMaxLengthTaps)
{
    TFIRKernel K;
    K.SetTaps(std::vector<double>(3, 1.0), 1, 1);
    EXPECT_THROW(K.SetTaps(std::vector<double>(TFIRKernel::MaxLength + 1, 1.0), 1, 1), EArgumentError);
    EXPECT_EQ(K.Length(), 3);
}
