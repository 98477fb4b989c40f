#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/core/EListError.h"
#include "editor/core/TRowAttributeStringList.h"

namespace {

TEST(TheStringList, BadIndexRaisesListErrorAndLeavesListUnchanged)
{
    TRowAttributeStringList list;
    list.Add("a");
    list.Add("b");
    auto expectError = [](auto&& f) {
        try {
            f();
            FAIL() << "no error";
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
        }
    };
    expectError([&] { list.Get(2); });
    expectError([&] { list.Get(-1); });
    expectError([&] { list.Put(2, "x"); });
    expectError([&] { list.Insert(3, "x"); });
    expectError([&] { list.Delete(2); });
    expectError([&] { list.Exchange(0, 5); });
    expectError([&] { list.SetRowMarks(7, 1); });
    expectError([&] { list.SetCapacity(1); });
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), "a");
    EXPECT_EQ(list.Get(1), "b");
    list.Insert(2, "c");  // Count itself is a valid insert position
    EXPECT_EQ(list.Get(2), "c");
}

TEST(TheStringList, NotifiesAroundChangesButNotForFieldsOrInsideUpdates)
{
    TRowAttributeStringList list;
    std::string log;
    list.OnChanging = [&] { log += "<"; };
    list.OnChange = [&] { log += ">"; };
    list.Add("a");
    list.Insert(0, "b");
    list.Exchange(0, 1);
    list.Put(0, "c");
    list.Delete(1);
    EXPECT_EQ(log, "<><><><><>");

    log.clear();
    list.SetRowAttribute(0, raWrapped);
    list.SetBracketIndex(0, 3);
    list.SetRowMarks(0, 0x8001);
    list.SetRowTag(0, 42);
    list.SetStateText(0, "state");
    EXPECT_EQ(log, "");

    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("x");
    list.Add("y");
    list.EndUpdate();
    EXPECT_EQ(log, "<");
    list.EndUpdate();
    EXPECT_EQ(log, "<>");

    log.clear();
    list.Clear();
    EXPECT_EQ(log, "<>");
    list.Clear();  // empty: nothing happens
    EXPECT_EQ(log, "<>");
    EXPECT_EQ(list.GetCapacity(), 0);
}

TEST(TheStringList, PackedFieldsKeepTheirOwnBits)
{
    TRowAttributeStringList list;
    list.Add("row");
    // A fresh row is not yet parsed.
    EXPECT_EQ(list.GetBracketIndex(0), -2);

    TRowAttributeData d;
    d.RowAttribute = raEndOfText;
    d.PrevRowAttribute = raWrapped;
    d.BracketIndex = 13;
    d.ElementByte = 0x1ab;  // only the low byte is stored
    d.RemainByte = 0xcd;
    d.StartByte = 0xef;
    d.WrappedToken = 7;
    d.PrevToken = 9;
    d.StateText = "st";
    list.SetRowMarks(0, 0xa5a5);
    list.SetRowAttributeData(0, d);
    TRowAttributeData back = list.GetRowAttributeData(0);
    d.ElementByte = 0xab;
    EXPECT_EQ(back, d);
    EXPECT_EQ(list.GetRowMarks(0), 0xa5a5);  // state data leaves the marks alone

    list.SetBracketIndex(0, -1);
    EXPECT_EQ(list.GetBracketIndex(0), -1);
    // An index too large for its four bits must not spill into its neighbour.
    list.SetBracketIndex(0, 20);
    EXPECT_EQ(list.GetElementByte(0), 0xab);
    EXPECT_EQ(list.GetRowAttribute(0), raEndOfText);
    EXPECT_EQ(list.GetPrevRowAttribute(0), raWrapped);

    list.Add("other");
    list.Exchange(0, 1);
    EXPECT_EQ(list.Get(1), "row");
    EXPECT_EQ(list.GetStateText(1), "st");
    EXPECT_EQ(list.GetRowMarks(1), 0xa5a5);
    EXPECT_EQ(list.GetRowMarks(0), 0);
}

TEST(TheStringList, CapacityGrowsAsTheListAlwaysHas)
{
    TRowAttributeStringList list;
    std::vector<int> seen;
    for (int i = 0; i < 100; ++i) {
        list.Add("x");
        if (seen.empty() || seen.back() != list.GetCapacity())
            seen.push_back(list.GetCapacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
}

// The row array keeps a movable gap; the wrapped-row index sits beside it.
// Both are checked against plain vectors over random edits.
TEST(TheStringList, RandomEditsAgreeWithAPlainModel)
{
    std::mt19937 rng(12345);
    TRowAttributeStringList list;
    std::vector<std::string> model;
    std::vector<bool> wrapped;
    for (int step = 0; step < 8000; ++step) {
        int op = static_cast<int>(rng() % 10);
        int n = static_cast<int>(model.size());
        if (op < 4 || n == 0) {
            int at = static_cast<int>(rng() % (n + 1));
            std::string s(rng() % 20, static_cast<char>('a' + step % 26));
            list.Insert(at, s);
            model.insert(model.begin() + at, s);
            wrapped.insert(wrapped.begin() + at, false);
        } else if (op < 6) {
            int at = static_cast<int>(rng() % n);
            list.Delete(at);
            model.erase(model.begin() + at);
            wrapped.erase(wrapped.begin() + at);
        } else if (op < 8) {
            int at = static_cast<int>(rng() % n);
            bool w = rng() % 2;
            list.SetRowAttribute(at, w ? raWrapped : raLineBreak);
            wrapped[at] = w;
        } else if (op < 9) {
            int i = static_cast<int>(rng() % n), j = static_cast<int>(rng() % n);
            list.Exchange(i, j);
            std::swap(model[i], model[j]);
            bool t = wrapped[i];
            wrapped[i] = wrapped[j];
            wrapped[j] = t;
        } else {
            int at = static_cast<int>(rng() % n);
            list.Put(at, "p" + std::to_string(step));
            model[at] = "p" + std::to_string(step);
        }
        if (step % 401 == 0 || step > 7990) {
            ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
            int before = 0;
            int unwrappedSeen = 0;
            for (int i = 0; i < list.Count(); ++i) {
                ASSERT_EQ(list.Get(i), model[i]) << "row " << i << " step " << step;
                ASSERT_EQ(list.WrappedRowsBefore(i), before) << "row " << i << " step " << step;
                if (wrapped[i]) {
                    ++before;
                } else {
                    ASSERT_EQ(list.NthUnwrappedRow(unwrappedSeen), i);
                    ++unwrappedSeen;
                }
            }
            ASSERT_EQ(list.WrappedRowCount(), before);
            ASSERT_EQ(list.NthUnwrappedRow(unwrappedSeen), list.Count());
        }
    }
}

}  // namespace
