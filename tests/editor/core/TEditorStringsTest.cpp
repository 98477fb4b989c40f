#include <gtest/gtest.h>

#include "FakeEditor.h"
#include "editor/core/EListError.h"
#include "editor/core/TEditorStrings.h"

namespace {

class VectorStrings : public TStrings {
public:
    std::vector<std::string> items;
    std::string Get(int i) const override { return items.at(static_cast<size_t>(i)); }
    void Put(int i, const std::string& s) override { items.at(static_cast<size_t>(i)) = s; }
    int GetCount() const override { return static_cast<int>(items.size()); }
    void Insert(int i, const std::string& s) override { items.insert(items.begin() + i, s); }
    void Delete(int i) override { items.erase(items.begin() + i); }
    void Clear() override { items.clear(); }
};

class Lines : public ::testing::Test {
protected:
    TEditorScreenStrings store;
    FakeEditor editor{store};
    TEditorStrings lines{store, &editor};
};

TEST_F(Lines, EditingOperationsMoveTheCaretAfterTheirText)
{
    lines.SetTextStr("one\r\ntwo\r\nthree");
    EXPECT_EQ(lines.GetCount(), 3);

    lines.Put(1, "TWO!");
    EXPECT_EQ(lines.GetTextStr(), "one\r\nTWO!\r\nthree");
    EXPECT_EQ(editor.row, 1);
    EXPECT_EQ(editor.col, 4);

    lines.Insert(0, "zero");
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nTWO!\r\nthree");
    EXPECT_EQ(editor.row, 1);
    EXPECT_EQ(editor.col, 0);

    EXPECT_EQ(lines.Add("four"), 4);
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nTWO!\r\nthree\r\nfour");
    EXPECT_EQ(editor.row, 4);
    EXPECT_EQ(editor.col, 4);

    lines.Delete(4);
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nTWO!\r\nthree\r\n");
    lines.Insert(4, "last");  // at the end: an Add
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nTWO!\r\nthree\r\nlast");
    lines.Put(4, "");
    EXPECT_EQ(lines.GetTextStr(), "zero\r\none\r\nTWO!\r\nthree\r\n");
    EXPECT_GE(editor.selectionClears, 5);
    EXPECT_THROW(lines.Get(4), EListError);
    EXPECT_THROW(lines.Delete(-1), EListError);
    EXPECT_THROW(lines.Insert(6, "x"), EListError);
}

TEST_F(Lines, AddToAnEmptyDocument)
{
    EXPECT_EQ(lines.Add("a"), 0);
    EXPECT_EQ(lines.Add("b"), 1);
    EXPECT_EQ(lines.GetTextStr(), "a\r\nb");
    EXPECT_EQ(lines.GetCount(), 2);
}

TEST_F(Lines, AssignTakesTheLinesAndPutsTheCaretBelowThem)
{
    VectorStrings source;
    source.items = {"\\documentclass{jarticle}", "", "\x95\x5c"};
    lines.Assign(source);
    EXPECT_EQ(lines.GetCount(), 3);
    EXPECT_EQ(lines.Get(0), "\\documentclass{jarticle}");
    EXPECT_EQ(lines.Get(2), "\x95\x5c");
    EXPECT_EQ(editor.row, 3);
    EXPECT_FALSE(store.UndoObj().CanUndo());
}

TEST_F(Lines, UpdateBlocksReachTheEditorAndTheStore)
{
    struct CountingEditor : FakeEditor {
        using FakeEditor::FakeEditor;
        void BeginLinesUpdate() override { ++begins; }
        void EndLinesUpdate() override { ++ends; }
        int begins = 0, ends = 0;
    } counting(store);
    TEditorStrings view(store, &counting);
    counting.listChanges = 0;
    view.BeginUpdate();
    view.Add("a");
    view.Add("b");
    EXPECT_EQ(counting.listChanges, 0);
    view.EndUpdate();
    EXPECT_EQ(counting.begins, 1);
    EXPECT_EQ(counting.ends, 1);
    EXPECT_EQ(counting.listChanges, 1);
}

}  // namespace
