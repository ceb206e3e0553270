#pragma once
// The parameters of a pass as the window's controls give them. The noise and copy-delay texts
// are converted when they have changed since their last conversion (or the decimal separator
// has), not on every pass, and the copy flag when the box is toggled; the item indexes of the
// radio groups become the engine's kinds here.

#include <QObject>

#include <string>

#include "Experiment.h"
#include "NumberSettings.h"
#include "TRadioGroup.h"

class QCheckBox;
class TEdit;

// The one reading of the noise text, for the passes and for the window's handler that moves
// the spinner: a text that does not convert raises EConvertError.
long double NoiseLevel(const TEdit &NoiseText);
// The text the noise spinner writes for a level.
std::string NoiseLevelText(long double Level);

// The groups that choose the three kinds, named, so that no two can change places.
struct TKindGroups {
    TRadioGroup *Simple;
    TRadioGroup *Complex;
    TRadioGroup *Filter;
};

class TPassInputs : public QObject {
    Q_OBJECT
public:
    TPassInputs(QObject *Parent, TEdit *NoiseText, QCheckBox *Copy, TEdit *DelayText, const TKindGroups &Kinds);

    // A noise text that does not convert raises EConvertError (a value beyond the 64-bit range
    // EOverflow), then a delay text that does not convert EConvertError, as long as the text
    // stays as it is.
    const TPassParameters &Read()
    {
        if (!FNoiseConverted || !FDelayConverted || FSeparatorChanges != DecimalSeparatorChanges()) [[unlikely]]
            Convert();
        // Any item index passes through: the engine treats an unknown kind as the generator does.
        FParameters.SimpleKind = static_cast<TSimpleKind>(FKinds.Simple->ItemIndex());
        FParameters.ComplexKind = static_cast<TComplexKind>(FKinds.Complex->ItemIndex());
        FParameters.FilterKind = static_cast<TFilterKind>(FKinds.Filter->ItemIndex());
        return FParameters;
    }

private:
    void Convert();

    TEdit *FNoiseText;
    QCheckBox *FCopy;
    TEdit *FDelayText;
    TKindGroups FKinds;
    TPassParameters FParameters;
    bool FNoiseConverted = false;
    bool FDelayConverted = false;
    unsigned FSeparatorChanges = 0;
};
