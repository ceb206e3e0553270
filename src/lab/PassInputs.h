#pragma once
// The parameters of a pass as the window's controls give them. The noise and copy-delay texts
// are converted when they have changed since their last conversion (or the decimal separator
// has), not on every pass; the item indexes of the radio groups become the engine's kinds here.

#include <string>

#include "Experiment.h"
#include "LabControls.h"
#include "NumberSettings.h"

// The one reading of the noise text, for the passes and for the handler that moves the
// spinner: a text that does not convert raises EConvertError.
long double NoiseLevel(const TEditModel &NoiseText);
// The text the noise spinner writes for a level.
std::string NoiseLevelText(long double Level);

// The controls a pass reads, named, so that no two can change places.
struct TPassControls {
    const TEditModel &NoiseText;
    const bool &Copy;
    const TEditModel &DelayText;
    const TRadioGroupModel &Simple;
    const TRadioGroupModel &Complex;
    const TRadioGroupModel &Filter;
};

class TPassInputs {
public:
    explicit TPassInputs(const TPassControls &Controls) : FControls(Controls) {}

    // A noise text that does not convert raises EConvertError (a value beyond the 64-bit range
    // EOverflow), then a delay text that does not convert EConvertError, as long as the text
    // stays as it is.
    const TPassParameters &Read()
    {
        if (FNoiseChanges != FControls.NoiseText.Changes() || FDelayChanges != FControls.DelayText.Changes() ||
            FSeparatorChanges != DecimalSeparatorChanges()) [[unlikely]]
            Convert();
        FParameters.CopyEnabled = FControls.Copy;
        // Any item index passes through: the engine treats an unknown kind as the generator does.
        FParameters.SimpleKind = static_cast<TSimpleKind>(FControls.Simple.ItemIndex());
        FParameters.ComplexKind = static_cast<TComplexKind>(FControls.Complex.ItemIndex());
        FParameters.FilterKind = static_cast<TFilterKind>(FControls.Filter.ItemIndex());
        return FParameters;
    }

private:
    void Convert();

    TPassControls FControls;
    TPassParameters FParameters;
    // The change counts of the texts last converted; none at first.
    static constexpr unsigned Never = ~0u;
    unsigned FNoiseChanges = Never;
    unsigned FDelayChanges = Never;
    unsigned FSeparatorChanges = Never;
};
