#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "editor/core/TEditorViewInfo.h"
#include "editor/core/TFountain.h"
#include "editor/core/TFountainParser.h"

TEST(TEditorColors, DefaultsAndAssignment)
{
    TEditorColors colors;
    EXPECT_EQ(colors.Select, TFountainColor(clNavy, clWhite));
    for (int i = 0; i < TEditorColors::ColorCount; ++i) {
        const TFountainColor expected = &colors.Item(i) == &colors.Select ? TFountainColor(clNavy, clWhite)
                                                                          : TFountainColor(clNone, clNone);
        EXPECT_EQ(colors.Item(i), expected) << i;
    }

    TEditorColors source;
    source.Ank.SetColor(clRed);
    source.Url.SetStyle(fsUnderline);
    source.Select.SetBkColor(clTeal);
    int changes = 0;
    colors.OnChange = [&] { ++changes; };
    colors.Assign(source);
    EXPECT_EQ(changes, 1);
    for (int i = 0; i < TEditorColors::ColorCount; ++i)
        EXPECT_EQ(colors.Item(i), source.Item(i)) << i;
    colors.Assign(source);
    EXPECT_EQ(changes, 1);  // nothing differed
    colors.Comment.SetColor(clPurple);
    EXPECT_EQ(changes, 2);
}

TEST(TFountainBracketCollection, HoldsAtMostFourteenItems)
{
    TEditorBracketCollection brackets;
    int changes = 0;
    brackets.OnChange = [&] { ++changes; };
    for (int i = 0; i < 14; ++i)
        brackets.Add("<" + std::to_string(i), ">");
    EXPECT_EQ(changes, 14);  // one per Add, texts and colour included
    try {
        brackets.Add();
        FAIL() << "a 15th item was accepted";
    } catch (const std::length_error& e) {
        EXPECT_STREQ(e.what(), "TFountainBracketCollection\r\nYou can not add item over 14");
    }
    EXPECT_EQ(brackets.Count(), 14);
    EXPECT_EQ(brackets[13].LeftBracket(), "<13");

    TEditorBracketCollection copy;
    copy.Add("x", "y");
    copy.Assign(brackets);
    EXPECT_EQ(copy.Count(), 14);
    EXPECT_EQ(copy[0].LeftBracket(), "<0");

    changes = 0;
    brackets.SetAllColor(clRed);
    brackets.SetAllStyle(fsBold);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(brackets[7].ItemColor, TFountainColor(clNone, clRed, fsBold));
    brackets[3].SetRightBracket("]");
    EXPECT_EQ(changes, 3);
}

TEST(TReserveWordList, SortedWithoutDuplicatesAndCaseBlind)
{
    TReserveWordList words;
    int changes = 0;
    words.OnChange = [&] { ++changes; };
    words.Add("section");
    words.Add("Begin");
    EXPECT_EQ(words.Add("SECTION"), 1);  // already there
    words.Add("end");
    EXPECT_EQ(words.Words(), (std::vector<std::string>{"Begin", "end", "section"}));
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(words.Contains("Section"));
    EXPECT_TRUE(words.Contains("BEGIN"));
    EXPECT_FALSE(words.Contains("sections"));
    EXPECT_FALSE(words.Contains(""));

    // Only single-byte letters fold: "ア" (0x83 0x41) and "ャ" (0x83 0x61)
    // differ although their second bytes are "A" and "a".
    words.Assign({"\x83\x41", "x\x83\x41", "X\x83\x41"});
    EXPECT_EQ(words.Count(), 2);
    EXPECT_TRUE(words.Contains("x\x83\x41"));
    EXPECT_FALSE(words.Contains("\x83\x61"));
    EXPECT_FALSE(words.Contains("X\x83\x61"));
}

TEST(TNotifyEventList, OrderSenderRemovalAndUpdateBlocks)
{
    TFountain scheme;
    TNotifyEventList& list = scheme.NotifyEventList();
    std::vector<std::string> calls;
    int a = 0, b = 0;
    list.Add(&a, [&](TFountain& sender) { calls.push_back(&sender == &scheme ? "a1" : "?"); });
    list.Add(&b, [&](TFountain&) { calls.push_back("b"); });
    list.Add(&a, [&](TFountain&) { calls.push_back("a2"); });
    scheme.Reserve().SetColor(clRed);
    EXPECT_EQ(calls, (std::vector<std::string>{"a1", "b", "a2"}));

    list.Remove(&a);  // its latest registration
    calls.clear();
    scheme.BeginUpdate();
    scheme.ReserveWordList().Add("w");
    scheme.BeginUpdate();
    scheme.Brackets().Add("(", ")");
    scheme.EndUpdate();
    EXPECT_TRUE(calls.empty());
    scheme.EndUpdate();
    EXPECT_EQ(calls, (std::vector<std::string>{"a1", "b"}));
}

TEST(TEditorViewInfo, ChangesNotifyAndAssignCopiesEverything)
{
    TEditorViewInfo view;
    int changes = 0;
    view.OnChange = [&] { ++changes; };
    view.SetCommenter("%");
    view.SetCommenter("%");
    view.Colors().Reserve.SetColor(clRed);
    view.Brackets().Add("/*", "*/");
    view.Brackets()[0].ItemColor.SetStyle(fsItalic);
    view.ReserveWordList().Add("begin");
    view.SetMail(true);
    EXPECT_EQ(changes, 6);
    // The scheme's reserved-word colour is the one in Colors.
    EXPECT_EQ(&view.Fountain().Reserve(), &view.Colors().Reserve);
    EXPECT_TRUE(view.Fountain().HasItalicStyle());

    TEditorViewInfo copy;
    int copyChanges = 0;
    copy.OnChange = [&] { ++copyChanges; };
    copy.Assign(view);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_EQ(copy.Commenter(), "%");
    EXPECT_TRUE(copy.Mail());
    EXPECT_EQ(copy.Colors().Reserve.Color(), clRed);
    ASSERT_EQ(copy.Brackets().Count(), 1);
    EXPECT_EQ(copy.Brackets()[0].RightBracket(), "*/");
    EXPECT_TRUE(copy.ReserveWordList().Contains("BEGIN"));

    copy.Fountain().SetAllColor(clTeal);
    EXPECT_EQ(copy.Colors().Comment.Color(), clTeal);
    EXPECT_EQ(copy.Colors().Reserve.Color(), clTeal);
    EXPECT_EQ(copy.Colors().Select.Color(), clWhite);
    EXPECT_EQ(copy.Colors().Hit.Color(), clNone);
    EXPECT_EQ(copyChanges, 2);
}
