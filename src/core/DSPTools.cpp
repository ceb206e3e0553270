#include "DSPTools.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "Errors.h"
#include "FloatFaults.h"

namespace {

std::string IndexMessage(const char *Array, int32_t Index, int32_t Length)
{
    return "Filter coefficient index " + std::to_string(Index) + " of " + Array + " is outside 0.." +
           std::to_string(Length - 1);
}

} // namespace

TIIRFilter::TIIRFilter(std::span<const double> B, std::span<const double> A)
{
    const std::size_t Length = std::max(B.size(), A.size());
    if (Length == 0)
        throw EArgumentError("A filter needs at least one coefficient");
    if (Length > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw EArgumentError("A filter of " + std::to_string(Length) + " coefficients is too long");
    FLength = static_cast<int32_t>(Length);
    FB = std::make_unique<double[]>(Length);
    FA = std::make_unique<double[]>(Length);
    FX = std::make_unique<double[]>(Length);
    FY = std::make_unique<double[]>(Length);
    SetCoefficients(B, A);
    Reset();
}

TIIRFilter::~TIIRFilter() = default;

void TIIRFilter::Reset()
{
    std::fill_n(FX.get(), FLength, 0.0);
    std::fill_n(FY.get(), FLength, 0.0);
}

void TIIRFilter::SetCoefficients(std::span<const double> B, std::span<const double> A)
{
    const auto Length = static_cast<std::size_t>(FLength);
    if (B.size() > Length || A.size() > Length)
        throw EArgumentError("A filter of length " + std::to_string(FLength) + " cannot take " +
                             std::to_string(std::max(B.size(), A.size())) + " coefficients");
    for (int32_t i = 0; i < FLength; ++i) {
        const auto k = static_cast<std::size_t>(i);
        SetB(i, k < B.size() ? B[k] : 0.0);
        SetA(i, k < A.size() ? A[k] : 0.0);
    }
}

void TIIRFilter::SetB(int32_t index, double value)
{
    if (index < 0 || index >= FLength)
        throw EArgumentError(IndexMessage("B", index, FLength));
    FB[index] = value;
}

void TIIRFilter::SetA(int32_t index, double value)
{
    if (index < 0 || index >= FLength)
        throw EArgumentError(IndexMessage("A", index, FLength));
    FA[index] = value;
}

double TIIRFilter::Process(double x)
{
    // Each product is formed and added at extended precision and the sum rounded to 64 bits
    // after every step; the histories shift inside the same loop, oldest entry first.
    // a[0] is taken as 1 and never read.
    double *const X = FX.get();
    double *const Y = FY.get();
    const double *const Bc = FB.get();
    const double *const Ac = FA.get();
    double s = 0;
    for (int32_t i = FLength - 1; i >= 1; --i) {
        X[i] = X[i - 1];
        s = static_cast<double>(s + static_cast<long double>(X[i]) * Bc[i]);
        Y[i] = Y[i - 1];
        s = static_cast<double>(s - static_cast<long double>(Y[i]) * Ac[i]);
    }
    X[0] = x;
    // Rounded straight into the history, the next call's feedback term reads it back
    // without a detour through a temporary.
    Y[0] = static_cast<double>(static_cast<long double>(x) * Bc[0] + s);
    return Y[0];
}

std::unique_ptr<TIIRFilter> CreateRCSection(double k)
{
    const double B[2] = {static_cast<double>(1.0L - k), 0.0};
    const double A[2] = {1.0, -k};
    return std::make_unique<TIIRFilter>(B, A);
}

double RCPoleFromTimeConstant(long double tau)
{
    const long double Exponent = CheckedDivide(-1.0L, tau);
    // A finite time constant so small that -1/tau leaves the extended range has overflowed.
    if (std::isinf(Exponent) && std::isfinite(tau))
        throw EOverflow();
    return StoreDouble(std::exp(Exponent));
}
