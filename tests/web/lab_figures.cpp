// The desktop's figures for the browser check: the lab as the window runs it, with a point as
// the decimal separator, the Barker code through the matched filter for a number of passes,
// then one refresh; the seven figure texts, one a line.

#include <cstdlib>
#include <iostream>

#include "Lab.h"
#include "NumberSettings.h"

namespace {
struct TStillClock : TLabClock {
    int64_t Now() override { return 0; }
};
} // namespace

int main(int argc, char **argv)
{
    const long long passes = argc > 1 ? std::atoll(argv[1]) : 0;
    SetDecimalSeparator(".");
    TStillClock clock;
    TLab lab(clock);
    lab.RadioGroup3.Select(ckBarker);
    lab.RadioGroup2.Select(fkMatched);
    lab.Scheduler().SetPassLimit(passes);
    lab.Button1Click();
    while (lab.Scheduler().WantsPasses())
        lab.Slice();
    lab.Timer1Timer();
    for (const std::string &figure : lab.Display().Figures)
        std::cout << figure << '\n';
}
