#include "TEdit.h"

TEdit::TEdit(QWidget *Parent, TEditModel &Model, TForwarder Forward)
    : QLineEdit(QString::fromStdString(Model.Text()), Parent), FModel(Model), FForward(std::move(Forward))
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &Text) {
        if (!FDrawing)
            FForward([this, text = Text.toStdString()] { FModel.SetText(text); });
    });
}

void TEdit::Draw()
{
    const QString text = QString::fromStdString(FModel.Text());
    if (text == this->text())
        return;
    FDrawing = true;
    setText(text);
    FDrawing = false;
}
