// The controls' event rules, which the window's handlers rely on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Errors.h"
#include "LabControls.h"

namespace {

TEST(RadioGroupModelTest, OnlyAUsersNewSelectionClicksAndTheHandlerSeesIt)
{
    TRadioGroupModel group(3, 0);
    std::vector<int> seen;
    group.OnClick = [&] { seen.push_back(group.ItemIndex()); };
    group.Select(0); // the item already selected
    group.Select(2);
    group.SetItemIndex(1); // from the program
    group.SetItemIndex(-1);
    group.Select(1);
    group.SetItemIndex(7); // beyond the items: no selection
    EXPECT_EQ(group.ItemIndex(), -1);
    group.Select(3);
    EXPECT_EQ(seen, std::vector<int>({2, 1}));
    EXPECT_EQ(group.ItemIndex(), -1);
}

TEST(EditModelTest, ChangeEventPerChangeOfTheTextAndErrorsGoToTheCaller)
{
    TEditModel edit("5");
    std::vector<std::string> seen;
    edit.OnChange = [&] { seen.push_back(edit.Text()); };
    for (const char *text : {"1", "12", "12", "7", ""})
        edit.SetText(text);
    EXPECT_EQ(seen, std::vector<std::string>({"1", "12", "7", ""}));
    EXPECT_EQ(edit.Changes(), 4u);
    edit.OnChange = [] { throw EConvertError("bad"); };
    EXPECT_THROW(edit.SetText("x"), EConvertError);
    EXPECT_EQ(edit.Text(), "x"); // the text stays as typed
}

// Each row: the box's text before the click, the arrow, then the position, the box's text
// and whether the click raised the spinner's event.
TEST(UpDownModelTest, StepsFromTheBoxOrThePositionAndStopsAtTheLimits)
{
    const struct {
        bool Attached;
        int Position;
        const char *Shown;
        TUDBtnType Arrow;
        int NewPosition;
        const char *NewShown;
        bool Clicked;
    } rows[] = {
        {false, 5, "5", TUDBtnType::btNext, 6, "5", true},
        {false, 1, "5", TUDBtnType::btPrev, 1, "5", false}, // at the limit, no wrap
        {false, 100, "5", TUDBtnType::btNext, 100, "5", false},
        {true, 5, "5", TUDBtnType::btNext, 6, "6", true},
        {true, 5, "40", TUDBtnType::btNext, 41, "41", true},      // typed: starts from the box
        {true, 5, " +40 ", TUDBtnType::btPrev, 39, "39", true},   // blanks and a sign read too
        {true, 40, "500", TUDBtnType::btPrev, 39, "39", true},    // beyond the range: from the position
        {true, 40, "2,5", TUDBtnType::btPrev, 39, "39", true},    // not whole: from the position
        {true, 40, "1", TUDBtnType::btPrev, 1, "1", false},       // the box's 1 is the limit
        {true, 40, "99999999999", TUDBtnType::btNext, 41, "41", true},
    };
    for (const auto &r : rows) {
        TEditModel edit(r.Shown);
        int changes = 0, clicks = 0;
        edit.OnChange = [&] { ++changes; };
        TUpDownModel upDown(1, 100, static_cast<int16_t>(r.Position), r.Attached ? &edit : nullptr);
        upDown.OnClick = [&](TUDBtnType) { ++clicks; };
        upDown.Click(r.Arrow);
        const std::string what = std::string(r.Shown) + (r.Attached ? " attached" : "");
        EXPECT_EQ(upDown.Position(), r.NewPosition) << what;
        EXPECT_EQ(edit.Text(), r.NewShown) << what;
        EXPECT_EQ(clicks, r.Clicked ? 1 : 0) << what;
        EXPECT_EQ(changes, edit.Text() != r.Shown ? 1 : 0) << what;
    }
}

TEST(UpDownModelTest, ProgramPositionIsHeldWithinTheRangeAndRaisesNothing)
{
    TUpDownModel upDown(1, 100, 5);
    int clicks = 0;
    upDown.OnClick = [&](TUDBtnType) { ++clicks; };
    upDown.SetPosition(-5);
    EXPECT_EQ(upDown.Position(), 1);
    upDown.SetPosition(40000);
    EXPECT_EQ(upDown.Position(), 100);
    TUpDownModel wide(-32768, 32767, 32767);
    wide.Click(TUDBtnType::btNext);
    EXPECT_EQ(wide.Position(), 32767);
    EXPECT_EQ(clicks, 0);
}

} // namespace
