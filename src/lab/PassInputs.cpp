#include "PassInputs.h"

#include "FloatFaults.h"
#include "NumberText.h"

long double NoiseLevel(const TEditModel &NoiseText)
{
    return ParseFloatText(NoiseText.Text());
}

std::string NoiseLevelText(long double Level)
{
    return FormatGeneral(Level, 15, 0);
}

void TPassInputs::Convert()
{
    // A text that does not convert stays unconverted, so every pass that reads it raises its
    // error.
    if (FNoiseChanges != FControls.NoiseText.Changes() || FSeparatorChanges != DecimalSeparatorChanges()) {
        FParameters.NoiseSD = StoreDouble(NoiseLevel(FControls.NoiseText));
        FNoiseChanges = FControls.NoiseText.Changes();
        FSeparatorChanges = DecimalSeparatorChanges();
    }
    if (FDelayChanges != FControls.DelayText.Changes()) {
        FParameters.CopyShift = ParseIntText(FControls.DelayText.Text());
        FDelayChanges = FControls.DelayText.Changes();
    }
}
