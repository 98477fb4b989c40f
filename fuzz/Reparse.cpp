// Incremental re-parse of the colouring states. The input is a program of
// edits against a document whose row store has a row parser attached: text
// replacements through ReplaceRows, ReplaceInRow and the logical-line view, undo and redo,
// word wrap switched on and off, its options and the TAB width changed. After every step the
// document must hold exactly the rows and the row start states of a second
// document loaded afresh with the same text and wrap settings and parsed in
// full.
//
// The first byte chooses the screen of the attached editor. A screen larger
// than any document means every change is parsed through the end, and every
// row is compared. A small screen leaves rows below the change unparsed: then
// the parsed rows must be the first rows and agree with the fresh document,
// and a row asked for on demand (as painting does) must get the same state
// the fresh document has. Its high bits space the scanner's marks inside
// long rows 1 to 8 bytes apart, so that rows of a few pieces are long: their
// edits in place (as typing makes them with wrap off) re-read them only in
// part, and must still give the states of the fresh document, which reads
// every row whole. A row with marks never holds a line break.
//
// The scheme is fixed: "%" comments, a "/*" "*/" pair, "'" strings and a few
// reserved words. Inserted text is drawn from pieces that open and close
// these, cut words and numbers across wrapped rows, and stress Shift-JIS (a
// double-byte character with a backslash trail byte, a lone lead byte).
//
// Set REPARSE_TRACE=1 to print the program as it runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "editor/core/AttachedEditor.h"
#include "editor/core/TEditorRowParser.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"
#include "editor/core/TEditorViewInfo.h"

#include "support/Printable.h"

namespace {


bool Tracing()
{
    static const bool on = TraceRequested("REPARSE_TRACE");
    return on;
}

int g_step = 0;
std::string g_op;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "Reparse: step %d (%s): %s\n", g_step, g_op.c_str(), what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

std::string Describe(const TRowAttributeData& d)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "attr %d prev %d bracket %d element %d remain %d start %d wrapped %d prevtok %d",
                  d.RowAttribute, d.PrevRowAttribute, d.BracketIndex, d.ElementByte, d.RemainByte, d.StartByte,
                  d.WrappedToken, d.PrevToken);
    return std::string(buf) + (d.StateText.empty() ? "" : " text " + Printable(d.StateText));
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool Done() const { return pos_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// An editor with a screen of a given height; it follows the caret only as
// far as the store needs it.
class ScreenEditor : public AttachedEditor {
public:
    ScreenEditor(TEditorScreenStrings& store, int screenRows, bool full)
        : store_(store), screenRows_(screenRows), full_(full)
    {
        store_.AttachEditor(this);
    }
    ~ScreenEditor() override { store_.DetachEditor(this); }

    bool HasFocus() const override { return true; }
    int CaretRow() const override { return row_; }
    int CaretCol() const override { return col_; }
    void SetCaretRow(int row) override { row_ = row; }
    void SetCaretCol(int col) override { col_ = col; }
    void SetCaretByIndex(int firstRow, int index) override
    {
        row_ = firstRow;
        col_ = index;
    }
    void ClearSelection() override {}
    void StoreCleared() override { row_ = col_ = 0; }
    void ListChanged(const TPendingUpdate&) override {}
    void ClampRows(int maxRow) override { row_ = std::min(row_, maxRow); }
    void RowsRewrapped() override { col_ = 0; }
    int ScreenRows() const override { return screenRows_; }
    bool InitBracketsFull() const override { return full_; }

private:
    TEditorScreenStrings& store_;
    int screenRows_;
    bool full_;
    int row_ = 0;
    int col_ = 0;
};

void SetUpView(TEditorViewInfo& view)
{
    view.SetCommenter("%");
    view.Brackets().Add("/*", "*/");
    view.SetQuotation("'");
    view.ReserveWordList().Assign({"begin", "end", "section"});
}

const std::string_view Pieces[] = {
    "a",   "sec", "tion", "Section", "begin", "end", "12", "3.", "e5", " ",   "  ",  "\t",
    "%",   "/*",  "*/",   "*",       "/",     "'",   "''", "\r\n", "\r\n", "\n", "\r", "x_y",
    "\x95\x5C",  // 表, trail byte "\"
    "\x83\x5C",  // ソ
    "\x82",      // lead byte, lone unless a trail byte follows
    "\x82\xA0",  // あ
    "\\",  "abcdefghijkl",
};

std::string RandomText(Input& in)
{
    std::string text;
    for (int n = in.Next() % 8; n > 0; --n)
        text += Pieces[in.Next() % std::size(Pieces)];
    return text;
}

// The store's rows and states against a fresh document of the same text,
// loaded, wrapped and parsed in full.
void Compare(TEditorScreenStrings& store, TEditorRowParser& parser, TEditorViewInfo& view, bool fullScreen,
             Input& in)
{
    TEditorScreenStrings fresh;
    ScreenEditor freshEditor(fresh, 1, true);
    TEditorRowParser freshParser(fresh, view);
    fresh.SetParser(&freshParser);
    fresh.WrapOption().Assign(store.WrapOption());
    fresh.SetTabSpaceCount(store.TabSpaceCount());
    fresh.SetPlainText(store.GetTextStr());
    if (store.WordWrap())
        fresh.SetWordWrap(true);  // wraps and parses
    else
        freshParser.ReparseAll();

    const int count = store.GetCount();
    if (fresh.GetCount() != count)
        Fail("the store has " + std::to_string(count) + " rows, a fresh load " + std::to_string(fresh.GetCount())
             + "; text " + Printable(store.GetTextStr()));
    for (int r = 0; r < count; ++r) {
        if (store.RowView(r) != fresh.RowView(r) || store.GetRowAttribute(r) != fresh.GetRowAttribute(r))
            Fail("row " + std::to_string(r) + " is " + Printable(store.RowView(r)) + " attr "
                 + std::to_string(store.GetRowAttribute(r)) + ", a fresh load has " + Printable(fresh.RowView(r))
                 + " attr " + std::to_string(fresh.GetRowAttribute(r)));
    }

    const auto checkParsed = [&](const char* when) {
        bool unparsedSeen = false;
        for (int r = 0; r < count; ++r) {
            if (store.GetBracketIndex(r) == -2) {
                if (fullScreen)
                    Fail(std::string(when) + ": row " + std::to_string(r) + " was left unparsed");
                unparsedSeen = true;
                continue;
            }
            if (unparsedSeen)
                Fail(std::string(when) + ": row " + std::to_string(r) + " is parsed below an unparsed row");
            const TRowAttributeData got = store.GetRowAttributeData(r);
            const TRowAttributeData want = fresh.GetRowAttributeData(r);
            if (!(got == want))
                Fail(std::string(when) + ": row " + std::to_string(r) + " " + Printable(store.RowView(r))
                     + "\n  stored: " + Describe(got) + "\n  fresh:  " + Describe(want));
        }
    };
    for (int r = 0; r < count; ++r)
        if (store.ScanMarks(r) && store.RowView(r).find_first_of("\r\n") != std::string_view::npos)
            Fail("row " + std::to_string(r) + " has scan marks and a line break: " + Printable(store.RowView(r)));
    checkParsed("after the step");
    if (fullScreen || count == 0)
        return;

    // A row asked for by painting parses down to it.
    const int probe = static_cast<int>(in.Next() % count);
    const TRowAttributeData got = parser.RowStartState(probe);
    const TRowAttributeData want = fresh.GetRowAttributeData(probe);
    if (!(got == want))
        Fail("row " + std::to_string(probe) + " on demand\n  got:   " + Describe(got) + "\n  fresh: " + Describe(want));
    checkParsed("after parsing on demand");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    Input in(data, size);
    const uint8_t screenByte = in.Next();
    const bool fullScreen = (screenByte & 1) == 0;
    const int screenRows = fullScreen ? 1 << 20 : 1 + (screenByte >> 1) % 4;
    const uint8_t wrapByte = in.Next();
    const uint8_t flags = in.Next();

    TEditorViewInfo view;
    SetUpView(view);
    TEditorScreenStrings store;
    ScreenEditor editor(store, screenRows, false);
    TEditorRowParser parser(store, view);
    parser.SetScanMarkSpacing(1 + ((screenByte >> 3) & 7));
    store.SetParser(&parser);
    TEditorStrings lines(store, &editor);

    TEditorWrapOption& option = store.WrapOption();
    option.SetWrapByte(2 + wrapByte % 40);
    option.SetWordBreak(flags & 2);
    option.SetLeading(flags & 4);
    option.SetFollowPunctuation(flags & 8);
    option.SetFollowRetMark(flags & 16);
    store.SetTabSpaceCount(1 + (flags >> 5));

    g_step = 0;
    g_op = "load";
    std::string initial;
    for (int n = in.Next() % 16; n > 0; --n)
        initial += RandomText(in) + "\r\n";
    initial += RandomText(in);
    lines.SetTextStr(initial);
    if (flags & 1)
        store.SetWordWrap(true);
    if (Tracing())
        std::fprintf(stderr, "screen %d wrap %d WrapByte %d flags %02x text %s\n", screenRows, store.WordWrap(),
                     option.WrapByte(), flags, Printable(initial).c_str());
    Compare(store, parser, view, fullScreen, in);

    while (!in.Done() && g_step < 200) {
        ++g_step;
        const int count = store.GetCount();
        const uint8_t op = in.Next() % 11;
        if (op <= 3) {
            const int index = static_cast<int>(in.Next() % (count + 1));
            const int n = std::min(count - index, static_cast<int>(in.Next() % 4));
            if (in.Next() % 4 == 0) {
                g_op = "ReplaceRows(" + std::to_string(index) + ", " + std::to_string(n) + ", none)";
                store.ReplaceRows(index, n, std::nullopt);
            } else {
                const std::string text = RandomText(in);
                g_op = "ReplaceRows(" + std::to_string(index) + ", " + std::to_string(n) + ", " + Printable(text) + ")";
                store.ReplaceRows(index, n, std::string_view(text));
            }
        } else if (op == 4) {
            g_op = "Undo";
            store.Undo();
        } else if (op == 5) {
            g_op = "Redo";
            store.Redo();
        } else if (op == 6) {
            if (!store.WordWrap())
                option.SetWrapByte(2 + in.Next() % 40);
            g_op = std::string("SetWordWrap(") + (store.WordWrap() ? "false" : "true") + "), WrapByte "
                   + std::to_string(option.WrapByte());
            store.SetWordWrap(!store.WordWrap());
        } else if (op == 7) {
            // A wrap option or the TAB width changed while the rows may be wrapped.
            switch (in.Next() % 6) {
            case 0:
                option.SetWrapByte(2 + in.Next() % 40);
                g_op = "SetWrapByte(" + std::to_string(option.WrapByte()) + ")";
                break;
            case 1:
                g_op = "toggle WordBreak";
                option.SetWordBreak(!option.WordBreak());
                break;
            case 2:
                g_op = "toggle Leading";
                option.SetLeading(!option.Leading());
                break;
            case 3:
                g_op = "toggle FollowPunctuation";
                option.SetFollowPunctuation(!option.FollowPunctuation());
                break;
            case 4:
                g_op = "toggle FollowRetMark";
                option.SetFollowRetMark(!option.FollowRetMark());
                break;
            default:
                store.SetTabSpaceCount(1 + in.Next() % 16);
                g_op = "SetTabSpaceCount(" + std::to_string(store.TabSpaceCount()) + ")";
                break;
            }
        } else if (op == 10) {
            // Bytes replaced inside one row, as typing does.
            if (count == 0)
                continue;
            const int row = static_cast<int>(in.Next() % count);
            const size_t length = store.RowLength(row);
            const size_t from = length ? in.Next() % (length + 1) : 0;
            const size_t removed = in.Next() % 4;
            const std::string text = in.Next() % 2 ? std::string(Pieces[in.Next() % std::size(Pieces)]) : std::string();
            g_op = "ReplaceInRow(" + std::to_string(row) + ", " + std::to_string(from) + ", " + std::to_string(removed) +
                   ", " + Printable(text) + ")";
            store.ReplaceInRow(row, from, removed, text);
        } else {
            // The logical-line view, which edits through ReplaceRows as well.
            const int lineCount = lines.GetCount();
            const uint8_t kind = in.Next() % 4;
            const std::string text = RandomText(in);
            if (kind == 0 && lineCount > 0) {
                const int i = static_cast<int>(in.Next() % lineCount);
                g_op = "Put(" + std::to_string(i) + ", " + Printable(text) + ")";
                lines.Put(i, text);
            } else if (kind == 1) {
                const int i = static_cast<int>(in.Next() % (lineCount + 1));
                g_op = "Insert(" + std::to_string(i) + ", " + Printable(text) + ")";
                lines.Insert(i, text);
            } else if (kind == 2 && lineCount > 0) {
                const int i = static_cast<int>(in.Next() % lineCount);
                g_op = "Delete(" + std::to_string(i) + ")";
                lines.Delete(i);
            } else {
                g_op = "Add(" + Printable(text) + ")";
                lines.Add(text);
            }
        }
        if (Tracing()) {
            std::fprintf(stderr, "%d: %s -> %d rows:", g_step, g_op.c_str(), store.GetCount());
            for (int r = 0; r < store.GetCount(); ++r)
                std::fprintf(stderr, " [%s]%d", Printable(store.RowView(r)).c_str(), store.GetRowAttribute(r));
            std::fprintf(stderr, "\n");
        }
        Compare(store, parser, view, fullScreen, in);
    }
    return 0;
}
