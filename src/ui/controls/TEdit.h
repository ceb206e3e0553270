#pragma once
// Single-line edit box, the view of an edit box's state: every change the user makes (each
// keystroke, a paste, an undo) goes to its model, and Draw shows the model's text.

#include <QLineEdit>

#include "Forwarding.h"
#include "LabControls.h"

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    TEdit(QWidget *Parent, TEditModel &Model, TForwarder Forward);

    // Shows the model's text where it differs from the one shown.
    void Draw();

private:
    TEditModel &FModel;
    TForwarder FForward;
    bool FDrawing = false;
};
