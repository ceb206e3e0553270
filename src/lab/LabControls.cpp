#include "LabControls.h"

#include <algorithm>
#include <charconv>

void TEditModel::SetText(std::string_view Text)
{
    if (Text == FText)
        return;
    FText = Text;
    ++FChanges;
    if (OnChange)
        OnChange();
}

void TRadioGroupModel::SetItemIndex(int Index)
{
    FItemIndex = Index >= 0 && Index < FCount ? Index : -1;
}

void TRadioGroupModel::Select(int Index)
{
    if (Index < 0 || Index >= FCount || Index == FItemIndex)
        return;
    FItemIndex = Index;
    if (OnClick)
        OnClick();
}

TUpDownModel::TUpDownModel(int16_t Min, int16_t Max, int16_t Position, TEditModel *Associate)
    : FMin(Min), FMax(std::max(Min, Max)), FAssociate(Associate)
{
    SetPosition(Position);
}

void TUpDownModel::SetPosition(int Value)
{
    FPosition = static_cast<int16_t>(std::clamp<int>(Value, FMin, FMax));
}

void TUpDownModel::Click(TUDBtnType Button)
{
    int from = FPosition;
    // After typing, the step starts from what the box shows.
    if (int shown = 0; FAssociate && ReadWholeNumber(FAssociate->Text(), shown) && shown >= FMin && shown <= FMax)
        from = shown;
    const int step = Button == TUDBtnType::btNext ? FIncrement : -FIncrement;
    const int to = std::clamp(from + step, int(FMin), int(FMax));
    FPosition = static_cast<int16_t>(from);
    if (to == from)
        return;
    FPosition = static_cast<int16_t>(to);
    if (FAssociate)
        FAssociate->SetText(std::to_string(to));
    if (OnClick)
        OnClick(Button);
}

bool ReadWholeNumber(std::string_view Text, int &Value)
{
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!Text.empty() && blank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && blank(Text.back()))
        Text.remove_suffix(1);
    bool negative = false;
    if (!Text.empty() && (Text.front() == '+' || Text.front() == '-')) {
        negative = Text.front() == '-';
        Text.remove_prefix(1);
    }
    if (Text.empty() || Text.front() < '0' || Text.front() > '9')
        return false;
    long long magnitude = 0;
    const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), magnitude);
    if (error != std::errc() || end != Text.data() + Text.size())
        return false;
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return false;
    Value = static_cast<int>(value);
    return true;
}
