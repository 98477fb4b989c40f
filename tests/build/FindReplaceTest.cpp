#include "build/FindReplace.h"

#include <gtest/gtest.h>

#include "../editor/core/EditorUnderTest.h"

namespace {

using FindReplace::Request;

TEST(FindReplace, FindModeSelectsEachNextHitAcrossLineBreaksAndBlanksAndStopsAtTheEnd)
{
    Editor e("abc x a\r\nbc Abc a b\x81\x40" "c");
    const Request find{"abc", "", false};
    ASSERT_TRUE(FindReplace::Run(e.ed, find));
    EXPECT_EQ(e.ed.SelText(), "abc");
    ASSERT_TRUE(FindReplace::Run(e.ed, find));
    EXPECT_EQ(e.ed.SelText(), "a\r\nbc");
    // Abc does not match; a, blank, b, full-width blank, c does.
    ASSERT_TRUE(FindReplace::Run(e.ed, find));
    EXPECT_EQ(e.ed.SelText(), "a b\x81\x40" "c");
    EXPECT_FALSE(FindReplace::Run(e.ed, find));
    EXPECT_EQ(e.ed.SelText(), "a b\x81\x40" "c");
    EXPECT_EQ(e.Text(), "abc x a\r\nbc Abc a b\x81\x40" "c");
    EXPECT_FALSE(FindReplace::Run(e.ed, Request{"", "", false}));
}

TEST(FindReplace, ReplaceModeReplacesOneHitPerRunAsOneUndoStep)
{
    Editor e("abc abc\r\nabc");
    const Request replace{"abc", "xyz", true};
    EXPECT_TRUE(FindReplace::Run(e.ed, replace));
    EXPECT_EQ(e.Text(), "xyz abc\r\nabc");
    EXPECT_EQ(e.ed.Store().UndoObj().UndoList().size(), 1u);
    EXPECT_TRUE(FindReplace::Run(e.ed, replace));
    EXPECT_TRUE(FindReplace::Run(e.ed, replace));
    EXPECT_EQ(e.Text(), "xyz xyz\r\nxyz");
    EXPECT_FALSE(FindReplace::Run(e.ed, replace));
    EXPECT_EQ(e.Text(), "xyz xyz\r\nxyz");
    e.ed.Undo();
    EXPECT_EQ(e.Text(), "xyz xyz\r\nabc");
}

TEST(FindReplace, ReplaceTakesTheNextHitAfterASelectionOrElseTheSelectionItself)
{
    Editor e("abc abc");
    ASSERT_TRUE(FindReplace::Run(e.ed, Request{"abc", "", false}));
    FindReplace::Run(e.ed, Request{"abc", "xyz", true});
    EXPECT_EQ(e.Text(), "abc xyz");
    // No further hit: the selection there was is replaced, here deleted.
    e.ed.Select(0, 0, 0, 3);
    FindReplace::Run(e.ed, Request{"nothing", "", true});
    EXPECT_EQ(e.Text(), " xyz");
}

}  // namespace
