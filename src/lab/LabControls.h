#pragma once
// The controls of the window as state, with the rules of their events: what a user's action
// does to the control and when it raises its event. A view draws this state and forwards the
// user's actions here; an error from a handler goes on to whoever forwarded the action.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Single-line edit box: a change event on every change of its text, whether typed (one per
// keystroke that changes it), written by an attached spinner or set by the program.
class TEditModel {
public:
    explicit TEditModel(std::string Text) : FText(std::move(Text)) {}

    const std::string &Text() const { return FText; }
    // A different text raises OnChange at once, inside this call; the same text raises nothing.
    void SetText(std::string_view Text);
    // Grows with every change of the text, so that a reader can tell cheaply whether the
    // text it converted last is still the one shown.
    unsigned Changes() const { return FChanges; }

    std::function<void()> OnChange;

private:
    std::string FText;
    unsigned FChanges = 0;
};

// Group of radio items stacked in one column. ItemIndex is the selected item, -1 for none.
class TRadioGroupModel {
public:
    TRadioGroupModel(int Count, int ItemIndex) : FCount(Count) { SetItemIndex(ItemIndex); }

    int Count() const { return FCount; }
    int ItemIndex() const { return FItemIndex; }
    // From the program: raises nothing; an index outside the items clears the selection.
    void SetItemIndex(int Index);
    // A user's selection: OnClick follows only a new one, with ItemIndex already set.
    void Select(int Index);

    std::function<void()> OnClick;

private:
    int FCount;
    int FItemIndex = -1;
};

enum class TUDBtnType { btNext, btPrev };

// Up-down spinner holding a 16-bit Position within Min .. Max. An arrow click steps it by
// Increment and stops at the limits; OnClick follows a click that changed the position. An
// attached spinner takes its starting point from the whole number its box shows and writes
// every new position into the box.
class TUpDownModel {
public:
    TUpDownModel(int16_t Min, int16_t Max, int16_t Position, TEditModel *Associate = nullptr);

    int16_t Position() const { return FPosition; }
    // From the program: held within Min .. Max, raises nothing.
    void SetPosition(int Value);
    int16_t Min() const { return FMin; }
    int16_t Max() const { return FMax; }
    int16_t Increment() const { return FIncrement; }
    TEditModel *Associate() const { return FAssociate; }

    // One arrow click, as the user makes it.
    void Click(TUDBtnType Button);

    std::function<void(TUDBtnType)> OnClick;

private:
    int16_t FMin;
    int16_t FMax;
    int16_t FPosition = 0;
    int16_t FIncrement = 1;
    TEditModel *FAssociate;
};

// A whole number as a spinner reads it from its box: optional blanks around an optional sign
// and decimal digits. False for anything else, or for a value beyond 32 bits.
bool ReadWholeNumber(std::string_view Text, int &Value);
