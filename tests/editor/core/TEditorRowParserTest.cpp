#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "FakeEditor.h"
#include "HandMadeRows.h"
#include "editor/core/TEditorParser.h"
#include "editor/core/TEditorRowParser.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorViewInfo.h"

namespace {

// An editor with a screen of its own height that records repaints.
class ScreenEditor : public FakeEditor {
public:
    ScreenEditor(TEditorScreenStrings& store, int screenRows) : FakeEditor(store), screenRows(screenRows) {}
    int ScreenRows() const override { return screenRows; }
    int TopRow() const override { return topRow; }
    bool InitBracketsFull() const override { return full; }
    void InvalidateRow(int row) override { invalidated.push_back(row); }

    int screenRows;
    int topRow = 0;
    bool full = false;
    std::vector<int> invalidated;
};

using Rows = std::vector<std::pair<std::string, uint8_t>>;

constexpr uint8_t L = raLineBreak;
constexpr uint8_t W = raWrapped;

// The scheme of the TeX editor, with a block comment pair.
void SetUpView(TEditorViewInfo& view)
{
    view.SetCommenter("%");
    view.ReserveWordList().Assign({"begin", "end", "section", "subsection", "subsubsection"});
    view.Brackets().Add("/*", "*/");
}

// "kind:text" of the tokens of `row` that start on the row itself.
std::string PaintRow(TEditorRowParser& rp, TEditorScreenStrings& s, int row)
{
    std::string buffer;
    const std::string_view text = rp.ScanText(row, buffer);
    auto parser = rp.CreateParser();
    parser->SetText(text, rp.RowStartState(row));
    std::string out;
    while (uint8_t kind = parser->NextToken()) {
        if (parser->TokenStart() >= static_cast<int>(s.RowLength(row)))
            break;
        if (!out.empty())
            out += '|';
        out += std::to_string(parser->ReserveWord() ? uint8_t{tkReserve} : kind) + ':';
        out += text.substr(parser->TokenStart(),
                           std::min<size_t>(parser->TokenLength(), s.RowLength(row) - parser->TokenStart()));
    }
    return out;
}

struct Fixture {
    TEditorScreenStrings store;
    TEditorViewInfo view;
    TEditorRowParser parser{store, view};
    Fixture()
    {
        SetUpView(view);
        store.SetParser(&parser);
    }
};

}  // namespace

TEST(TEditorRowParser, CommentRunsThroughWrappedRowsButNotIntoTheNextLine)
{
    Fixture f;
    PutHandMadeRows(f.store, {{"a % b", W}, {"cd", W}, {"ef", L}, {"gh", L}});
    f.parser.ReparseAll();
    EXPECT_EQ(PaintRow(f.parser, f.store, 0), "11:a|7:% b");
    EXPECT_EQ(f.store.GetWrappedToken(1), tkComment);
    EXPECT_EQ(PaintRow(f.parser, f.store, 1), "7:cd");
    EXPECT_EQ(PaintRow(f.parser, f.store, 2), "7:ef");
    EXPECT_EQ(f.store.GetWrappedToken(3), 0);
    EXPECT_EQ(PaintRow(f.parser, f.store, 3), "11:gh");
}

TEST(TEditorRowParser, UnclosedBlockCommentColoursEveryRowUntilItCloses)
{
    Fixture f;
    PutHandMadeRows(f.store, {{"x /* a", L}, {"b", L}, {"", L}, {"  ", L}, {"c */ d", L}, {"e", raEndOfText}});
    f.parser.ReparseAll();
    std::vector<int> brackets;
    for (int r = 0; r < f.store.GetCount(); ++r)
        brackets.push_back(f.store.GetBracketIndex(r));
    EXPECT_EQ(brackets, (std::vector<int>{-1, 0, 0, 0, 0, -1}));
    EXPECT_EQ(PaintRow(f.parser, f.store, 1), "6:b");
    EXPECT_EQ(PaintRow(f.parser, f.store, 4), "6:c */|11:d");

    // Closing it further up ends the region there.
    f.store.ReplaceRows(1, 1, std::string_view("b */\r\n"));
    EXPECT_EQ(f.store.GetBracketIndex(2), -1);
    EXPECT_EQ(PaintRow(f.parser, f.store, 4), "11:c|1:*|1:/|11:d");
}

TEST(TEditorRowParser, ReservedWordCutByWrapIsStillOneWord)
{
    Fixture f;
    PutHandMadeRows(f.store, {{"x Sec", W}, {"tion y", L}, {"ab", W}, {"cd e", L}, {"1", W}, {"2", W}, {"3 z", L}});
    f.parser.ReparseAll();
    // The first part is read with the next row's text, the second from the
    // state carried into its row: kind and the bytes it owes.
    EXPECT_EQ(PaintRow(f.parser, f.store, 0), "11:x|8:Sec");
    EXPECT_EQ(f.store.GetWrappedToken(1), tkReserve);
    EXPECT_EQ(f.store.GetRemainByte(1), 4);
    EXPECT_EQ(PaintRow(f.parser, f.store, 1), "8:tion|11:y");
    EXPECT_EQ(f.store.GetWrappedToken(3), tkIdentifier);
    EXPECT_EQ(f.store.GetRemainByte(3), 2);
    EXPECT_EQ(PaintRow(f.parser, f.store, 3), "11:cd|11:e");
    // A number over three rows: the middle row continues by rule.
    EXPECT_EQ(f.store.GetWrappedToken(5), tkInteger);
    EXPECT_EQ(f.store.GetRemainByte(5), 0);
    EXPECT_EQ(f.store.GetWrappedToken(6), tkInteger);
    EXPECT_EQ(f.store.GetRemainByte(6), 1);
    EXPECT_EQ(PaintRow(f.parser, f.store, 6), "3:3|11:z");
}

TEST(TEditorRowParser, RightBracketCutByWrap)
{
    Fixture f;
    PutHandMadeRows(f.store, {{"/* a *", W}, {"/ b", L}, {"c", L}});
    f.parser.ReparseAll();
    EXPECT_EQ(f.store.GetBracketIndex(1), 0);
    EXPECT_EQ(f.store.GetWrappedToken(1), tkBracket);
    EXPECT_EQ(f.store.GetRemainByte(1), 1);
    EXPECT_EQ(PaintRow(f.parser, f.store, 1), "6:/|11:b");
    EXPECT_EQ(f.store.GetBracketIndex(2), -1);
}

TEST(TEditorRowParser, StateFieldsAreStoredAndTheRowAttributeKept)
{
    Fixture f;
    PutHandMadeRows(f.store, {{"a", W}, {"b", L}, {"c", raEndOfText}});
    f.store.SetRowMarks(1, 0x0005);
    f.parser.ReparseAll();
    EXPECT_EQ(f.store.GetRowAttribute(0), raWrapped);
    EXPECT_EQ(f.store.GetRowAttribute(1), raLineBreak);
    EXPECT_EQ(f.store.GetRowAttribute(2), raEndOfText);
    EXPECT_EQ(f.store.GetPrevRowAttribute(1), raWrapped);
    EXPECT_EQ(f.store.GetPrevRowAttribute(2), raLineBreak);
    EXPECT_EQ(f.store.GetPrevToken(1), tkIdentifier);
    EXPECT_EQ(f.store.GetRowMarks(1), 0x0005);
    EXPECT_EQ(f.store.LineCount(), 2);  // the wrapped-row index is intact
}

TEST(TEditorRowParser, TypingReparsesUntilStatesAgreeAndRepaintsThoseRows)
{
    Fixture f;
    ScreenEditor a(f.store, 10), b(f.store, 10);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "row " + std::to_string(i) + "\r\n";
    f.store.SetPlainText(text);
    f.parser.ReparseAll();
    EXPECT_EQ(f.store.GetBracketIndex(20), -1);
    EXPECT_EQ(f.store.GetBracketIndex(21), -2);  // two screens from the top row

    f.store.ReplaceRows(5, 1, std::string_view("rows 5\r\n"));
    EXPECT_EQ(f.store.PendingUpdate().ReparsedRowCount, 0);  // cleared at the end of the block
    // The store re-breaks the changed line and the next one; row 7 agrees.
    EXPECT_EQ(a.invalidated, (std::vector<int>{5, 6}));
    EXPECT_EQ(b.invalidated, (std::vector<int>{5, 6}));

    // Opening a comment does not settle: two screens are re-parsed, the rest
    // is left to be parsed when shown.
    a.invalidated.clear();
    a.focused = true;
    a.screenRows = 4;
    f.store.ReplaceRows(5, 1, std::string_view("/* row 5\r\n"));
    EXPECT_EQ(a.invalidated.size(), 9u);
    EXPECT_EQ(a.invalidated.back(), 13);
    EXPECT_EQ(f.store.GetBracketIndex(13), 0);
    EXPECT_EQ(f.store.GetBracketIndex(14), -2);
    EXPECT_EQ(f.store.GetBracketIndex(20), -2);
    EXPECT_EQ(f.parser.RowStartState(90).BracketIndex, 0);
    EXPECT_EQ(f.store.GetBracketIndex(98), 0);   // and two screens below it
    EXPECT_EQ(f.store.GetBracketIndex(99), -2);  // past that, not yet
}

TEST(TEditorRowParser, FullReparseBoundsAndInitBracketsFull)
{
    Fixture f;
    f.store.SetPlainText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh");
    f.parser.ReparseAll();  // no editor: a default screen covers it all
    EXPECT_EQ(f.store.GetBracketIndex(7), -1);

    ScreenEditor e(f.store, 1);
    e.topRow = 2;
    f.parser.ReparseAll();
    EXPECT_EQ(f.store.GetBracketIndex(4), -1);
    EXPECT_EQ(f.store.GetBracketIndex(5), -2);
    e.full = true;
    f.parser.ReparseAll();
    EXPECT_EQ(f.store.GetBracketIndex(7), -1);
}

TEST(TEditorRowParser, ParsingAheadGivesTheStatesOfAFullParse)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += i % 7 == 0 ? "/* open\r\n" : i % 11 == 0 ? "close */ \\section{x}\r\n" : "text % note\r\n";
    Fixture ahead;
    ahead.store.SetPlainText(text);
    ScreenEditor screen(ahead.store, 2);
    ahead.parser.ReparseAll();
    ASSERT_EQ(ahead.store.GetBracketIndex(200), -2);
    int steps = 0;
    while (ahead.parser.ParseAhead(16))
        ASSERT_LT(++steps, 100);
    // An edit far up leaves unparsed rows below it that parsing ahead takes up again.
    ahead.store.ReplaceRows(3, 1, "/* again\r\n");
    while (ahead.parser.ParseAhead(16))
        ASSERT_LT(++steps, 200);

    Fixture full;
    full.store.SetPlainText(text);
    full.store.ReplaceRows(3, 1, "/* again\r\n");
    ScreenEditor all(full.store, 2);
    all.full = true;
    full.parser.ReparseAll();
    ASSERT_EQ(ahead.store.GetCount(), full.store.GetCount());
    for (int r = 0; r < full.store.GetCount(); ++r) {
        ASSERT_NE(ahead.store.GetBracketIndex(r), -2) << r;
        EXPECT_EQ(ahead.store.GetBracketIndex(r), full.store.GetBracketIndex(r)) << r;
        EXPECT_EQ(PaintRow(ahead.parser, ahead.store, r), PaintRow(full.parser, full.store, r)) << r;
    }
}

TEST(TEditorRowParser, ItalicCheckAndSchemeChoice)
{
    Fixture f;
    EXPECT_FALSE(f.parser.HasItalicStyle());
    f.view.Colors().Comment.SetStyle(fsItalic | fsBold);
    EXPECT_TRUE(f.parser.HasItalicStyle());

    TEditorFountain other;
    other.SetCommenter("#");
    f.parser.SetFountain(&other);
    EXPECT_FALSE(f.parser.HasItalicStyle());
    f.store.SetPlainText("a # b % c");
    f.parser.ReparseAll();
    EXPECT_EQ(PaintRow(f.parser, f.store, 0), "11:a|7:# b % c");
    f.parser.SetFountain(nullptr);
    EXPECT_EQ(PaintRow(f.parser, f.store, 0), "11:a|1:#|11:b|7:% c");
}

// Random documents with wrapped rows, changed at random through the row
// store (and by putting wrapped rows directly), must end with the same row
// states as parsing the whole text afresh. With a small screen only the
// rows parsed so far are compared, they must be the first rows, and any
// other row parses on demand to the same state.
TEST(TEditorRowParser, IncrementalReparseMatchesAFullParse)
{
    const std::vector<std::string> pieces = {"a",    "sec", "tion", "Section", "12", " ",  "%",  "/*", "*/", "*",
                                             "/",    "'",   "''",   "\x95\x5C", "\x82", "x@y.z", "\t", "3.", "e5", "http:"};
    for (int screen : {1000, 3}) {
        std::mt19937 rng(7u + static_cast<unsigned>(screen));
        auto randomText = [&](int maxPieces) {
            std::string t;
            for (int n = static_cast<int>(rng() % (maxPieces + 1)); n > 0; --n)
                t += pieces[rng() % pieces.size()];
            return t;
        };
        auto randomRows = [&](int count, bool last) {
            Rows rows;
            for (int i = 0; i < count; ++i)
                rows.push_back({randomText(4), static_cast<uint8_t>(rng() % 3 == 0 ? W : L)});
            if (last && !rows.empty() && rng() % 2)
                rows.back().second = raEndOfText;
            return rows;
        };

        for (int doc = 0; doc < 30; ++doc) {
            Fixture f;
            f.view.SetQuotation("'");
            f.view.SetMail(true);
            f.view.SetUrl(true);
            ScreenEditor editor(f.store, screen);
            PutHandMadeRows(f.store, randomRows(10 + static_cast<int>(rng() % 30), true));
            f.parser.ReparseAll();

            for (int step = 0; step < 40; ++step) {
                const int count = f.store.GetCount();
                if (count == 0 || rng() % 2) {
                    const int index = count ? static_cast<int>(rng() % count) : 0;
                    const int n = std::min(count - index, static_cast<int>(rng() % 3));
                    std::string text = randomText(3);
                    if (rng() % 2)
                        text += "\r\n" + randomText(3);
                    if (rng() % 3 == 0)
                        f.store.ReplaceRows(index, n, std::nullopt);
                    else
                        f.store.ReplaceRows(index, n, std::string_view(text));
                } else {
                    const int first = static_cast<int>(rng() % count);
                    const int old = std::min(count - first, 1 + static_cast<int>(rng() % 3));
                    Rows fresh = randomRows(1 + static_cast<int>(rng() % 3), first + old == count);
                    TEditorStringList list;
                    for (const auto& [text, attribute] : fresh) {
                        const int i = list.Add(text);
                        list.SetRowAttribute(i, attribute);
                    }
                    f.store.PutRows(first, old, list);
                    f.parser.ReparseFrom(first);
                }

                // The reference: every row parsed in order from the initial state.
                auto scanner = f.parser.CreateParser();
                TRowAttributeData state;
                bool seenUnparsed = false;
                for (int r = 0; r < f.store.GetCount(); ++r) {
                    state.PrevRowAttribute = r > 0 ? f.store.GetRowAttribute(r - 1) : uint8_t{raLineBreak};
                    state.RowAttribute = f.store.GetRowAttribute(r);
                    if (f.store.GetBracketIndex(r) == -2) {
                        seenUnparsed = true;
                        ASSERT_NE(screen, 1000) << "row " << r << " left unparsed";
                    } else {
                        ASSERT_FALSE(seenUnparsed) << "parsed row " << r << " below an unparsed one";
                        ASSERT_EQ(f.store.GetRowAttributeData(r), state) << "doc " << doc << " step " << step << " row " << r;
                    }
                    scanner->ParseRow(r, f.store, state);
                }
                if (f.store.GetCount() > 0) {
                    const int probe = static_cast<int>(rng() % f.store.GetCount());
                    TRowAttributeData expected;
                    for (int r = 0; r <= probe; ++r) {
                        expected.PrevRowAttribute = r > 0 ? f.store.GetRowAttribute(r - 1) : uint8_t{raLineBreak};
                        expected.RowAttribute = f.store.GetRowAttribute(r);
                        if (r < probe)
                            scanner->ParseRow(r, f.store, expected);
                    }
                    ASSERT_EQ(f.parser.RowStartState(probe), expected);
                }
            }
        }
    }
}
