#include "TProgressBar.h"

#include <algorithm>

TProgressBar::TProgressBar(QWidget *Parent, int Min, int Max) : QProgressBar(Parent)
{
    setTextVisible(false);
    setRange(Min, Max);
    setValue(Min);
    FPosition = Min;
}

void TProgressBar::SetPosition(int Value)
{
    FPosition = Value;
    // Out-of-range values would be ignored by the bar: show them at the nearest end.
    setValue(std::clamp(Value, minimum(), maximum()));
}
