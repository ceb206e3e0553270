#pragma once
// The parameters of a pass as the window's controls give them. The noise and copy-delay texts
// are converted when they have changed since their last conversion (or the decimal separator
// has), not on every pass; the item indexes of the radio groups become the engine's kinds here.

#include <QObject>

#include <string>

#include "Experiment.h"

class QCheckBox;
class TEdit;
class TRadioGroup;

class TPassInputs : public QObject {
    Q_OBJECT
public:
    TPassInputs(QObject *Parent, TEdit *NoiseText, QCheckBox *Copy, TEdit *DelayText, TRadioGroup *Simple,
                TRadioGroup *Complex, TRadioGroup *Filter);

    // A noise text that does not convert raises EConvertError (a value beyond the 64-bit range
    // EOverflow), then a delay text that does not convert EConvertError, as long as the text
    // stays as it is.
    const TPassParameters &Read();

private:
    TEdit *FNoiseText;
    QCheckBox *FCopy;
    TEdit *FDelayText;
    TRadioGroup *FSimple;
    TRadioGroup *FComplex;
    TRadioGroup *FFilter;
    TPassParameters FParameters;
    bool FNoiseConverted = false;
    bool FDelayConverted = false;
    std::string FNoiseSeparator;
};
