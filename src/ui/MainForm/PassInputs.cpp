#include "PassInputs.h"

#include <QCheckBox>

#include "FloatFaults.h"
#include "NumberText.h"
#include "TEdit.h"

long double NoiseLevel(const TEdit &NoiseText)
{
    return ParseFloatText(NoiseText.Text().toStdString());
}

std::string NoiseLevelText(long double Level)
{
    return FormatGeneral(Level, 15, 0);
}

TPassInputs::TPassInputs(QObject *Parent, TEdit *NoiseText, QCheckBox *Copy, TEdit *DelayText,
                         const TKindGroups &Kinds)
    : QObject(Parent), FNoiseText(NoiseText), FCopy(Copy), FDelayText(DelayText), FKinds(Kinds)
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
        FParameters.NoiseSD = StoreDouble(NoiseLevel(*FNoiseText));
        FSeparatorChanges = DecimalSeparatorChanges();
        FNoiseConverted = true;
    }
    if (!FDelayConverted) {
        FParameters.CopyShift = ParseIntText(FDelayText->Text().toStdString());
        FDelayConverted = true;
    }
}
