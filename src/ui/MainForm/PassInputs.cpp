#include "PassInputs.h"

#include <QCheckBox>

#include "FloatFaults.h"
#include "NumberText.h"
#include "TEdit.h"

TPassInputs::TPassInputs(QObject *Parent, TEdit *NoiseText, QCheckBox *Copy, TEdit *DelayText, TRadioGroup *Simple,
                         TRadioGroup *Complex, TRadioGroup *Filter)
    : QObject(Parent), FNoiseText(NoiseText), FCopy(Copy), FDelayText(DelayText), FSimple(Simple), FComplex(Complex),
      FFilter(Filter)
{
    connect(FNoiseText, &QLineEdit::textChanged, this, [this] { FNoiseConverted = false; });
    connect(FDelayText, &QLineEdit::textChanged, this, [this] { FDelayConverted = false; });
    FParameters.CopyEnabled = FCopy->isChecked();
    connect(FCopy, &QCheckBox::toggled, this, [this](bool Checked) { FParameters.CopyEnabled = Checked; });
}

void TPassInputs::Convert()
{
    // A text that does not convert stays unconverted, so every pass that reads it raises its error.
    if (!FNoiseConverted || FSeparatorChanges != DecimalSeparatorChanges()) {
        FParameters.NoiseSD = StoreDouble(ParseFloatText(FNoiseText->Text().toStdString()));
        FSeparatorChanges = DecimalSeparatorChanges();
        FNoiseConverted = true;
    }
    if (!FDelayConverted) {
        FParameters.CopyShift = ParseIntText(FDelayText->Text().toStdString());
        FDelayConverted = true;
    }
}
