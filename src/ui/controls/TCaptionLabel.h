#pragma once
// Static caption text on its parent's background. Its size follows its text: a plain label
// is as wide as its text; a word-wrapped one keeps its width and breaks its text into lines.

#include <QLabel>

class TCaptionLabel : public QLabel {
    Q_OBJECT
public:
    TCaptionLabel(QWidget *Parent, const QString &Text, bool WordWrap = false);

    // Places the label; the size given is the stored one, adjusted to the text.
    void Place(int Left, int Top, int Width, int Height);
};
