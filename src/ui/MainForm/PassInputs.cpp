#include "PassInputs.h"

#include <QCheckBox>

#include "FloatFaults.h"
#include "NumberSettings.h"
#include "NumberText.h"
#include "TEdit.h"
#include "TRadioGroup.h"

TPassInputs::TPassInputs(QObject *Parent, TEdit *NoiseText, QCheckBox *Copy, TEdit *DelayText, TRadioGroup *Simple,
                         TRadioGroup *Complex, TRadioGroup *Filter)
    : QObject(Parent), FNoiseText(NoiseText), FCopy(Copy), FDelayText(DelayText), FSimple(Simple), FComplex(Complex),
      FFilter(Filter)
{
    connect(FNoiseText, &QLineEdit::textChanged, this, [this] { FNoiseConverted = false; });
    connect(FDelayText, &QLineEdit::textChanged, this, [this] { FDelayConverted = false; });
}

const TPassParameters &TPassInputs::Read()
{
    // A text that does not convert stays unconverted, so every pass that reads it raises its error.
    if (!FNoiseConverted || FNoiseSeparator != DecimalSeparator()) {
        FParameters.NoiseSD = StoreDouble(ParseFloatText(FNoiseText->Text().toStdString()));
        FNoiseSeparator = DecimalSeparator();
        FNoiseConverted = true;
    }
    FParameters.CopyEnabled = FCopy->isChecked();
    if (!FDelayConverted) {
        FParameters.CopyShift = ParseIntText(FDelayText->Text().toStdString());
        FDelayConverted = true;
    }
    // Any item index passes through: the engine treats an unknown kind as the generator does.
    FParameters.SimpleKind = static_cast<TSimpleKind>(FSimple->ItemIndex());
    FParameters.ComplexKind = static_cast<TComplexKind>(FComplex->ItemIndex());
    FParameters.FilterKind = static_cast<TFilterKind>(FFilter->ItemIndex());
    return FParameters;
}
