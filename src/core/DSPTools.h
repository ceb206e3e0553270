#pragma once
// Sample-by-sample processing blocks: the abstract block and the general recursive filter
// (direct form I), used as a first-order RC low-pass section.

#include <cstdint>
#include <memory>
#include <span>

class TDSPBlock {
public:
    virtual ~TDSPBlock() = default;
    virtual double Process(double x) = 0;
};

class TIIRFilter : public TDSPBlock {
public:
    // Length = the longer of the two arrays; a coefficient missing from the shorter one is 0.0.
    // Two empty arrays raise EArgumentError.
    TIIRFilter(std::span<const double> B, std::span<const double> A);
    ~TIIRFilter() override;
    TIIRFilter(const TIIRFilter &) = delete;
    TIIRFilter &operator=(const TIIRFilter &) = delete;

    void Reset();
    // Missing entries count as 0.0; an array longer than FLength raises EArgumentError and
    // changes nothing.
    void SetCoefficients(std::span<const double> B, std::span<const double> A);
    double Process(double x) override;
    // An index outside 0 .. FLength-1 raises EArgumentError.
    void SetB(int32_t index, double value);
    void SetA(int32_t index, double value);

    int32_t Length() const { return FLength; }
    // Read-only views for the tests.
    double B(int32_t i) const { return FB[i]; }
    double A(int32_t i) const { return FA[i]; }
    double X(int32_t i) const { return FX[i]; }
    double Y(int32_t i) const { return FY[i]; }

private:
    int32_t FLength = 0;
    // Owned arrays of FLength entries each; a construction that fails part way releases
    // whatever it had allocated.
    std::unique_ptr<double[]> FB;
    std::unique_ptr<double[]> FA;
    std::unique_ptr<double[]> FX;
    std::unique_ptr<double[]> FY;
};

// An RC section with pole k: B = [1 - k, 0.0], A = [1.0, -k], 1 - k formed at extended precision.
std::unique_ptr<TIIRFilter> CreateRCSection(double k);

// The pole of a time constant: k = exp(-1/tau) at extended precision, rounded once.
// tau = 0 raises EZeroDivide, an exponential beyond the 64-bit range EOverflow.
double RCPoleFromTimeConstant(long double tau);
