#pragma once
// Up-down spinner: a pair of arrow buttons holding a 16-bit Position within Min .. Max.
// An arrow click steps it by Increment and stops at the limits; OnClick follows a click
// that changed the position. An attached spinner sits at its edit box's right edge, takes
// its starting point from the whole number the box shows, and writes every new position
// into the box.

#include <QWidget>

#include <cstdint>
#include <functional>

class QToolButton;
class TEdit;

enum class TUDBtnType { btNext, btPrev };

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *Parent);

    int16_t Position() const { return FPosition; }
    // From the program: held within Min .. Max, raises nothing.
    void SetPosition(int Value);
    int16_t Min() const { return FMin; }
    int16_t Max() const { return FMax; }
    void SetRange(int16_t Min, int16_t Max);
    int16_t Increment() const { return FIncrement; }

    TEdit *Associate() const { return FAssociate; }
    void SetAssociate(TEdit *Edit);

    // One arrow click, as the user makes it (errors go to the caller).
    void Click(TUDBtnType Button);

    // The spinner and its arrows named for a screen reader by the quantity it sets.
    void SetAccessibleQuantity(const QString &Quantity);

    QToolButton *UpButton() const { return FUp; }
    QToolButton *DownButton() const { return FDown; }

    std::function<void(TUDBtnType)> OnClick;

protected:
    void resizeEvent(QResizeEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QToolButton *FUp;
    QToolButton *FDown;
    TEdit *FAssociate = nullptr;
    int16_t FPosition = 0;
    int16_t FMin = 0;
    int16_t FMax = 100;
    int16_t FIncrement = 1;
};
