#include "TCaptionLabel.h"

#include <algorithm>

TCaptionLabel::TCaptionLabel(QWidget *Parent, const QString &Text, bool WordWrap) : QLabel(Text, Parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(WordWrap);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TCaptionLabel::Place(int Left, int Top, int Width, int Height)
{
    if (wordWrap()) {
        setGeometry(Left, Top, Width, std::max(Height, heightForWidth(Width)));
    } else {
        const QSize text = sizeHint();
        setGeometry(Left, Top, text.width(), std::max(Height, text.height()));
    }
}
