// Runs the input as a program of edits against the document's row store and,
// side by side, against a plain string holding the same text with CR LF line
// breaks. After every step the store must show that text, its rows and
// logical lines must agree with a naive scan, and undo/redo must walk back
// and forth through exactly the texts the edits went through.
//
// The texts the program inserts are drawn from a few pieces that stress line
// breaking and Shift-JIS: a, b, CR, LF, CR LF, a double-byte character whose
// trail byte is a backslash (0x95 0x5C), a lone lead byte (0x81) and NUL, plus
// TAB, an opening bracket and a full stop for the word-wrap rules.
//
// Wrapped rows come into the store two ways: by switching word wrap on (the
// store lays the rows out itself, and every edit and undo must keep exactly
// that layout), and by putting hand-made wrapped rows in with PutRows. Such a
// layout is one the store would not make, so undo records, which name rows,
// cannot be replayed over it; until the next whole-text change the program
// still edits and checks the text, but does not undo.
//
// Set ROWSTORE_TRACE=1 to print the program as it runs.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/AttachedEditor.h"
#include "editor/core/EListError.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"

#include "../tests/editor/core/FakeEditor.h"
#include "../tests/support/TextModel.h"
#include "support/FuzzProgram.h"
#include "support/Printable.h"
#include "support/StepChecks.h"

namespace {

// --- reporting -----------------------------------------------------------------


bool Tracing()
{
    static const bool on = TraceRequested("ROWSTORE_TRACE");
    return on;
}

using namespace StepChecks;

// --- the input ------------------------------------------------------------------

constexpr std::string_view Pieces[] = {
    "a", "b", "\r", "\n", "\r\n", "\x95\x5c", "\x81", std::string_view("\0", 1), "\t", "(", ".",
};

std::string ReadText(Program& p)
{
    std::string text;
    const int n = p.Byte() % 12;
    for (int i = 0; i < n; ++i) {
        // The row-store pieces come first; the wrap-rule pieces are rarer.
        const uint8_t b = p.Byte();
        text += Pieces[b < 0xE0 ? b % 8 : b % std::size(Pieces)];
    }
    return text;
}


// The logical lines of a CR LF text: where each starts and ends (before its
// break), and whether a break follows. No empty line after a final break.
struct LineSpan {
    size_t start;
    size_t end;
    bool broken;
};

std::vector<LineSpan> SplitLines(const std::string& text)
{
    std::vector<LineSpan> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back({pos, text.size(), false});
            break;
        }
        lines.push_back({pos, end, true});
        pos = end + 2;
    }
    return lines;
}

// --- an editor as the store sees it ----------------------------------------------

using ProbeEditor = FakeEditor;

// --- the session -------------------------------------------------------------------

constexpr size_t BigTextLimit = 4096;
constexpr int FullCheckRows = 64;

class Session {
public:
    explicit Session(Program& p) : p_(p)
    {
        store_.UndoObj().SetUndoListMax(1000000);
    }

    void Run()
    {
        Check();
        while (!p_.Done()) {
            ++g_step;
            Step();
            Check();
        }
        g_op = "end";
        while (!blocks_.empty())
            EndBlock();
        Check();
        UndoAllRedoAll();
    }

private:
    void Trace(const std::string& line)
    {
        if (Tracing())
            std::fprintf(stderr, "  %d %s\n", g_step, line.c_str());
    }

    // Row r's first byte in the text; r == GetCount() is the end of the text.
    size_t RowOffset(int r) const
    {
        size_t off = 0;
        for (int i = 0; i < r; ++i)
            off += store_.RowLength(i) + (store_.GetRowAttribute(i) == raLineBreak ? 2 : 0);
        return off;
    }

    int ModelLineCount() const { return static_cast<int>(SplitLines(text_).size()); }

    // An index in [0, limit] most of the time, else one outside it.
    int PickIndex(int limit)
    {
        const uint8_t sel = p_.Byte();
        if (sel < 0xE0)
            return p_.Word() % (limit + 1);
        switch (sel & 7) {
        case 0: return -1;
        case 1: return limit + 1;
        case 2: return limit + 2;
        case 3: return INT_MIN;
        case 4: return INT_MAX;
        case 5: return -2;
        case 6: return INT_MAX - 1;
        default: return limit + 1 + (sel >> 3);
        }
    }

    // The store made one new undo step that took the text from `before` to
    // the model's text.
    void Recorded(const std::string& before)
    {
        undo_.push_back(before);
        redo_.clear();
    }

    void ResetHistory()
    {
        undo_.clear();
        redo_.clear();
        resetText_ = text_;
    }

    void Step()
    {
        switch (p_.Byte() % 18) {
        case 0:
        case 1:
        case 2: return OpReplaceRows();
        case 3: return OpPut();
        case 4: return OpInsert();
        case 5: return OpAdd();
        case 6: return OpDelete();
        case 7: return OpGet();
        case 8: return OpSetText();
        case 9: return OpClear();
        case 10:
        case 11: return OpMark();
        case 12:
        case 13: return OpUndo();
        case 14: return OpRedo();
        case 15: g_op = "undo-all/redo-all"; return UndoAllRedoAll();
        case 16: return (p_.Byte() & 1) ? OpWordWrap() : OpPutWrappedRows();
        default: return OpCaretOrBlock();
        }
    }

    void OpReplaceRows()
    {
        g_op = "ReplaceRows";
        const int rows = store_.GetCount();
        const int index = PickIndex(rows);
        int count;
        const uint8_t c = p_.Byte();
        const bool indexOk = index >= 0 && index <= rows;
        const int room = indexOk ? rows - index : 0;
        if (c < 0xF0) {
            count = (c & 0x0F) == 0x0F ? room : (c >> 4) % 8;
            count = std::min(count, room);
        } else {
            switch (c & 7) {
            case 0: count = -1; break;
            case 1: count = room + 1; break;
            case 2: count = INT_MAX; break;
            case 3: count = INT_MIN; break;
            case 4: count = rows + 1; break;
            default: count = room + 2; break;
            }
        }
        const bool absent = p_.Byte() % 6 == 0;
        const std::string text = absent ? std::string() : ReadText(p_);
        Trace("ReplaceRows(" + std::to_string(index) + ", " + std::to_string(count) + ", " +
              (absent ? std::string("absent") : "\"" + Printable(text) + "\"") + ")");

        const bool valid = indexOk && count >= 0 && count <= room && !(count == 0 && absent);
        const std::string before = text_;
        const size_t undoSize = store_.UndoObj().UndoList().size();
        size_t from = 0, to = 0;
        if (valid) {
            from = RowOffset(index);
            to = RowOffset(index + count);
        }
        store_.ReplaceRows(index, count, absent ? std::nullopt : std::optional<std::string_view>(text));
        if (!valid) {
            RequireText(store_.GetTextStr(), text_, "a range outside the store changed the text");
            Require(store_.UndoObj().UndoList().size() == undoSize, "a range outside the store made an undo step");
            return;
        }
        text_ = before.substr(0, from) + TextModel::NormaliseBreaks(text) + before.substr(to);
        Require(store_.UndoObj().UndoList().size() == undoSize + 1, "ReplaceRows did not make one undo step");
        Recorded(before);
    }

    // Runs a logical-line operation that must throw EListError for `index`
    // and leave everything as it was.
    template <typename F>
    void ExpectListError(F&& f, const char* what)
    {
        const size_t undoSize = store_.UndoObj().UndoList().size();
        const int rows = store_.GetCount();
        bool thrown = false;
        try {
            f();
        } catch (const EListError&) {
            thrown = true;
        }
        if (!thrown)
            Fail(std::string(what) + " with an index outside the lines did not throw EListError");
        RequireText(store_.GetTextStr(), text_, "a refused operation changed the text");
        Require(store_.GetCount() == rows && store_.UndoObj().UndoList().size() == undoSize,
                "a refused operation changed the rows or the undo history");
    }

    void OpPut()
    {
        g_op = "Put";
        const int lines = ModelLineCount();
        const int index = PickIndex(lines);
        const std::string s = ReadText(p_);
        Trace("Put(" + std::to_string(index) + ", \"" + Printable(s) + "\")");
        if (index < 0 || index >= lines)
            return ExpectListError([&] { lines_.Put(index, s); }, "Put");
        const std::string before = text_;
        const LineSpan span = SplitLines(text_)[static_cast<size_t>(index)];
        lines_.Put(index, s);
        text_ = before.substr(0, span.start) + TextModel::NormaliseBreaks(s) + before.substr(span.end);
        Recorded(before);
    }

    void OpInsert()
    {
        g_op = "Insert";
        const int lines = ModelLineCount();
        const int index = PickIndex(lines);
        const std::string s = ReadText(p_);
        Trace("Insert(" + std::to_string(index) + ", \"" + Printable(s) + "\")");
        if (index < 0 || index > lines)
            return ExpectListError([&] { lines_.Insert(index, s); }, "Insert");
        const std::string before = text_;
        if (index == lines) {
            text_ = WithAdded(before, s);
        } else {
            const size_t at = SplitLines(before)[static_cast<size_t>(index)].start;
            text_ = before.substr(0, at) + TextModel::NormaliseBreaks(s) + "\r\n" + before.substr(at);
        }
        lines_.Insert(index, s);
        Recorded(before);
    }

    static std::string WithAdded(const std::string& text, const std::string& s)
    {
        const bool open = !text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0);
        return text + (open ? "\r\n" : "") + TextModel::NormaliseBreaks(s);
    }

    void OpAdd()
    {
        g_op = "Add";
        const std::string s = ReadText(p_);
        Trace("Add(\"" + Printable(s) + "\")");
        const std::string before = text_;
        const int lines = ModelLineCount();
        const int got = lines_.Add(s);
        Require(got == lines, "Add did not return the former line count");
        text_ = WithAdded(before, s);
        Recorded(before);
    }

    void OpDelete()
    {
        g_op = "Delete";
        const int lines = ModelLineCount();
        const int index = PickIndex(lines);
        Trace("Delete(" + std::to_string(index) + ")");
        if (index < 0 || index >= lines)
            return ExpectListError([&] { lines_.Delete(index); }, "Delete");
        const std::string before = text_;
        const LineSpan span = SplitLines(text_)[static_cast<size_t>(index)];
        lines_.Delete(index);
        text_ = before.substr(0, span.start) + before.substr(span.end + (span.broken ? 2 : 0));
        Recorded(before);
    }

    void OpGet()
    {
        g_op = "Get";
        const int lines = ModelLineCount();
        const int index = PickIndex(lines);
        Trace("Get(" + std::to_string(index) + ")");
        if (index < 0 || index >= lines)
            return ExpectListError([&] { (void)lines_.Get(index); }, "Get");
        // Line contents are compared in Check().
        (void)lines_.Get(index);
    }

    void OpSetText()
    {
        g_op = "SetTextStr";
        std::string text = ReadText(p_);
        const uint8_t r = p_.Byte();
        if (r >= 0xE0 && !text.empty()) {
            // A long document, to spread the rows over several index chunks.
            const size_t reps = std::min<size_t>(1 + (r & 0x1F) * 64, BigTextLimit / text.size());
            std::string big;
            for (size_t i = 0; i < reps; ++i)
                big += text;
            text = std::move(big);
        }
        Trace("SetTextStr(\"" + Printable(text) + "\")");
        lines_.SetTextStr(text);
        text_ = TextModel::NormaliseBreaks(text);
        ResetHistory();
        foreignLayout_ = false;
        Require(!store_.UndoObj().CanUndo() && !store_.UndoObj().CanRedo(), "SetTextStr left undo history");
        Require(store_.UsedMarks() == 0, "SetTextStr left marks in use");
    }

    void OpClear()
    {
        g_op = "Clear";
        Trace("Clear()");
        if (p_.Byte() & 1)
            lines_.Clear();
        else
            store_.Clear();
        text_.clear();
        ResetHistory();
        foreignLayout_ = false;
        Require(store_.GetCount() == 0, "Clear left rows");
        Require(store_.UsedMarks() == 0, "Clear left marks in use");
        Require(!store_.UndoObj().CanUndo() && !store_.UndoObj().CanRedo(), "Clear left undo history");
    }

    // Sets or removes one mark the way bookmarks are used: each mark stands
    // on at most one row.
    void OpMark()
    {
        g_op = "SetRowMarks";
        const uint16_t bit = static_cast<uint16_t>(1u << (p_.Byte() % 16));
        const int rows = store_.GetCount();
        const int row = rows ? p_.Word() % rows : 0;
        const bool remove = p_.Byte() % 4 == 0;
        Trace(std::string(remove ? "remove" : "set") + " mark " + std::to_string(bit) + " row " + std::to_string(row));
        for (int r = 0; r < rows; ++r)
            if (store_.GetRowMarks(r) & bit)
                store_.SetRowMarks(r, static_cast<uint16_t>(store_.GetRowMarks(r) & ~bit));
        if (remove || rows == 0) {
            store_.ExcludeMarks(bit);
            return;
        }
        store_.SetRowMarks(row, static_cast<uint16_t>(store_.GetRowMarks(row) | bit));
        store_.IncludeMarks(bit);
    }

    void OpUndo()
    {
        g_op = "Undo";
        Trace("Undo()");
        if (!foreignLayout_)
            UndoOnce();
    }

    void OpRedo()
    {
        g_op = "Redo";
        Trace("Redo()");
        if (!foreignLayout_)
            RedoOnce();
    }

    void UndoOnce(bool verify = true)
    {
        if (undo_.empty()) {
            store_.Undo();
            RequireText(store_.GetTextStr(), text_, "Undo with nothing to undo changed the text");
            return;
        }
        redo_.push_back(text_);
        text_ = undo_.back();
        undo_.pop_back();
        store_.Undo();
        if (verify)
            RequireText(store_.GetTextStr(), text_, "Undo did not restore the text before the step");
    }

    void RedoOnce(bool verify = true)
    {
        if (redo_.empty()) {
            store_.Redo();
            RequireText(store_.GetTextStr(), text_, "Redo with nothing to redo changed the text");
            return;
        }
        undo_.push_back(text_);
        text_ = redo_.back();
        redo_.pop_back();
        store_.Redo();
        if (verify)
            RequireText(store_.GetTextStr(), text_, "Redo did not restore the text after the step");
    }

    void UndoAllRedoAll()
    {
        if (foreignLayout_)
            return;
        Trace("undo all, redo all");
        const std::string last = text_;
        const size_t steps = undo_.size();
        // Every step of a long document's history would cost a copy of the
        // whole text each; there every eighth is compared, and the ends.
        const bool everyStep = store_.GetCount() <= 4 * FullCheckRows;
        for (size_t i = 0; !undo_.empty(); ++i)
            UndoOnce(everyStep || i % 8 == 0);
        Require(!store_.UndoObj().CanUndo(), "undo history longer than the steps made");
        RequireText(store_.GetTextStr(), resetText_, "undoing everything did not give back the starting text");
        Check();
        for (size_t i = 0; i < steps; ++i)
            RedoOnce(everyStep || i % 8 == 0);
        Require(store_.UndoObj().CanRedo() == !redo_.empty(), "redo history longer than the steps undone");
        RequireText(store_.GetTextStr(), last, "redoing everything did not give back the last text");
    }

    // Switches word wrap or changes its options. Either re-lays the whole
    // document out when wrap is on (or switched), which empties the history.
    void OpWordWrap()
    {
        g_op = "word wrap";
        const uint8_t how = p_.Byte();
        TEditorWrapOption& option = store_.WrapOption();
        bool rewrapped = false;
        switch (how % 4) {
        case 0:
            Trace(std::string("SetWordWrap(") + (store_.WordWrap() ? "false)" : "true)"));
            store_.SetWordWrap(!store_.WordWrap());
            rewrapped = true;
            break;
        case 1: {
            const int width = 2 + (how >> 2) % 8;
            Trace("SetWrapByte(" + std::to_string(width) + ")");
            rewrapped = store_.WordWrap() && option.WrapByte() != width;
            option.SetWrapByte(width);
            break;
        }
        case 2: {
            const bool wordBreak = how & 0x10, punctuation = how & 0x20, leading = how & 0x40, retMark = how & 0x80;
            Trace("wrap rules " + std::to_string(how >> 4));
            rewrapped = store_.WordWrap() && (option.WordBreak() != wordBreak || option.FollowPunctuation() != punctuation ||
                                              option.Leading() != leading || option.FollowRetMark() != retMark);
            option.SetWordBreak(wordBreak);
            option.SetFollowPunctuation(punctuation);
            option.SetLeading(leading);
            option.SetFollowRetMark(retMark);
            break;
        }
        default:
            // The store does not re-break its rows when the tab width changes,
            // so it is changed only while wrap is off.
            if (!store_.WordWrap()) {
                Trace("SetTabSpaceCount(" + std::to_string(1 + (how >> 2) % 8) + ")");
                store_.SetTabSpaceCount(1 + (how >> 2) % 8);
            }
            break;
        }
        if (rewrapped) {
            ResetHistory();
            foreignLayout_ = false;
        }
    }

    // Breaks every line into rows of at most `width` bytes, the way word wrap
    // lays out a document, and puts them in place of the store's rows. The
    // text stays the same; the undo history, which names rows, is dropped.
    void OpPutWrappedRows()
    {
        g_op = "PutRows";
        const size_t width = 1 + p_.Byte() % 6;
        const bool endWrapped = p_.Byte() % 8 == 0;
        Trace("rewrap at " + std::to_string(width) + (endWrapped ? ", last row wrapped" : ""));
        TEditorStringList rows;
        int n = 0;
        for (const LineSpan& line : SplitLines(text_)) {
            size_t pos = line.start;
            do {
                const size_t len = std::min(width, line.end - pos);
                rows.Add(text_.substr(pos, len));
                pos += len;
                const bool more = pos < line.end;
                rows.SetRowAttribute(n++, more ? raWrapped : (line.broken ? raLineBreak : raEndOfText));
            } while (pos < line.end);
        }
        if (endWrapped && n > 0 && rows.GetRowAttribute(n - 1) == raEndOfText)
            rows.SetRowAttribute(n - 1, raWrapped);
        store_.UndoObj().Clear();
        store_.PutRows(0, store_.GetCount(), rows);
        Require(rows.GetCount() == 0, "PutRows left rows in its source list");
        ResetHistory();
        foreignLayout_ = true;
    }

    void OpCaretOrBlock()
    {
        const uint8_t what = p_.Byte();
        switch (what % 4) {
        case 0:
        case 1:
            g_op = "caret";
            editor_.row = p_.Word() % (store_.GetCount() + 1);
            editor_.col = p_.Byte() % 4;
            editor_.focused = (what & 4) != 0;
            Trace("caret " + std::to_string(editor_.row) + ":" + std::to_string(editor_.col));
            return;
        case 2:
            g_op = "BeginUpdate";
            if (blocks_.size() >= 3)
                return;
            Trace("BeginUpdate");
            blocks_.push_back((what & 4) != 0);
            if (blocks_.back())
                lines_.BeginUpdate();
            else
                store_.BeginUpdate();
            return;
        default:
            g_op = "EndUpdate";
            if (!blocks_.empty()) {
                Trace("EndUpdate");
                EndBlock();
            }
            return;
        }
    }

    void EndBlock()
    {
        if (blocks_.back())
            lines_.EndUpdate();
        else
            store_.EndUpdate();
        blocks_.pop_back();
    }

    // --- invariants -------------------------------------------------------------

    void Check()
    {
        const std::string text = store_.GetTextStr();
        RequireText(text, text_, "the store's text differs from the model");
        Require(store_.UndoObj().CanUndo() == !undo_.empty(), "CanUndo disagrees with the steps made");
        Require(store_.UndoObj().CanRedo() == !redo_.empty(), "CanRedo disagrees with the steps undone");
        if (blocks_.empty())
            Require(!store_.PendingUpdate().Pending && store_.UpdateCount() == 0,
                    "an update is still pending outside any update block");
        CheckRows();
        CheckLines(text);
        CheckMarks();
        // Laying out a long document afresh costs more than the step did.
        if (store_.WordWrap() && !foreignLayout_ && (store_.GetCount() <= 2 * FullCheckRows || g_step % 16 == 0))
            CheckLayout(text);
    }

    // Edits re-break only the lines they touch; the rows must come out as
    // breaking the whole text afresh would lay them out.
    void CheckLayout(const std::string& text)
    {
        TEditorScreenStrings fresh;
        fresh.WrapOption().Assign(store_.WrapOption());
        fresh.SetTabSpaceCount(store_.TabSpaceCount());
        fresh.SetWordWrap(true);
        TEditorStrings(fresh).SetTextStr(text);
        const int n = store_.GetCount();
        if (fresh.GetCount() != n)
            Fail("the store has " + std::to_string(n) + " rows, wrapping its text afresh gives " +
                 std::to_string(fresh.GetCount()));
        for (int r = 0; r < n; ++r) {
            if (store_.RowView(r) != fresh.RowView(r) || store_.GetRowAttribute(r) != fresh.GetRowAttribute(r))
                Fail("row " + std::to_string(r) + " is \"" + Printable(store_.RowView(r)) + "\" attribute " +
                     std::to_string(store_.GetRowAttribute(r)) + ", wrapping afresh gives \"" +
                     Printable(fresh.RowView(r)) + "\" attribute " + std::to_string(fresh.GetRowAttribute(r)));
        }
    }

    // Rows hold no line breaks; only the last row may end the text without
    // a break. In a layout the store made, a wrapped row is never empty and
    // neither is a last line without a break (a hand-made layout whose last
    // row is wrapped can leave an empty wrapped row behind when re-broken).
    void CheckRows()
    {
        const int n = store_.GetCount();
        for (int r = 0; r < n; ++r) {
            const std::string_view row = store_.RowView(r);
            if (row.find_first_of("\r\n") != std::string_view::npos)
                Fail("row " + std::to_string(r) + " holds a line break");
            const uint8_t attr = store_.GetRowAttribute(r);
            if (attr == raEndOfText && r != n - 1)
                Fail("row " + std::to_string(r) + " ends the text but is not the last row");
            if (attr == raWrapped && row.empty() && !foreignLayout_)
                Fail("wrapped row " + std::to_string(r) + " is empty");
            if (attr == raEndOfText && row.empty() && (r == 0 || store_.GetRowAttribute(r - 1) != raWrapped))
                Fail("the last row ends the text without a break but is an empty line");
            if (attr > raEndOfText)
                Fail("row " + std::to_string(r) + " has no valid attribute");
        }
        Require(store_.MaxCaretRow() == (n > 0 && store_.GetRowAttribute(n - 1) == raEndOfText ? n - 1 : n),
                "MaxCaretRow is wrong");
        CheckLineMap();
    }

    // Rows to query: all of a small document, else its two ends and a sample.
    bool Sampled(int r, int n) const
    {
        return n <= FullCheckRows || r < 16 || r >= n - 16 || (r + g_step) % 97 == 0;
    }

    void CheckLineMap()
    {
        const int n = store_.GetCount();
        // startOfLine[l]: first row of logical line l; lineOf[r]: line of row r.
        std::vector<int> startOfLine;
        std::vector<int> lineOf(static_cast<size_t>(n) + 1);
        int line = 0;
        bool atStart = true;
        for (int r = 0; r < n; ++r) {
            if (atStart)
                startOfLine.push_back(r);
            lineOf[static_cast<size_t>(r)] = line;
            atStart = store_.GetRowAttribute(r) != raWrapped;
            if (atStart)
                ++line;
        }
        lineOf[static_cast<size_t>(n)] = line;
        const int lineCount = static_cast<int>(startOfLine.size());
        if (store_.LineCount() != lineCount)
            Fail("LineCount " + std::to_string(store_.LineCount()) + ", a scan of the rows finds " +
                 std::to_string(lineCount));
        for (int l = 0; l <= lineCount; ++l) {
            if (!Sampled(l, lineCount + 1))
                continue;
            const int want = l < lineCount ? startOfLine[static_cast<size_t>(l)] : n;
            if (store_.LineToRow(l) != want)
                Fail("LineToRow(" + std::to_string(l) + ") = " + std::to_string(store_.LineToRow(l)) +
                     ", want " + std::to_string(want));
        }
        for (int r = 0; r <= n; ++r) {
            if (!Sampled(r, n + 1))
                continue;
            if (store_.RowToLine(r) != lineOf[static_cast<size_t>(r)])
                Fail("RowToLine(" + std::to_string(r) + ") = " + std::to_string(store_.RowToLine(r)) + ", want " +
                     std::to_string(lineOf[static_cast<size_t>(r)]));
            if (r == n)
                break;
            const int l = lineOf[static_cast<size_t>(r)];
            const int start = startOfLine[static_cast<size_t>(l)];
            const int end = l + 1 < lineCount ? startOfLine[static_cast<size_t>(l) + 1] - 1 : n - 1;
            if (store_.LineStartRow(r) != start || store_.LineEndRow(r) != end)
                Fail("row " + std::to_string(r) + ": LineStartRow " + std::to_string(store_.LineStartRow(r)) +
                     " LineEndRow " + std::to_string(store_.LineEndRow(r)) + ", want " + std::to_string(start) +
                     " and " + std::to_string(end));
        }
    }

    void CheckLines(const std::string& text)
    {
        const std::vector<LineSpan> spans = SplitLines(text);
        if (lines_.GetCount() != static_cast<int>(spans.size()))
            Fail("the editor shows " + std::to_string(lines_.GetCount()) + " lines, the text has " +
                 std::to_string(spans.size()));
        // With word wrap off a line is read straight from its row, so the
        // lines can be compared only while no row is wrapped.
        if (!store_.WordWrap() && store_.WrappedRowCount() != 0)
            return;
        for (size_t i = 0; i < spans.size(); ++i) {
            if (!Sampled(static_cast<int>(i), static_cast<int>(spans.size())))
                continue;
            RequireText(lines_.Get(static_cast<int>(i)), text.substr(spans[i].start, spans[i].end - spans[i].start),
                        "a line differs from its piece of the text");
        }
    }

    // Marks are used as bookmarks here, so each stands on at most one row
    // and the marks in use are exactly those standing on rows.
    void CheckMarks()
    {
        const int n = store_.GetCount();
        uint16_t seen = 0;
        for (int r = 0; r < n; ++r) {
            const uint16_t m = store_.GetRowMarks(r);
            if (seen & m)
                Fail("a mark stands on two rows (row " + std::to_string(r) + ")");
            seen = static_cast<uint16_t>(seen | m);
        }
        if (seen != store_.UsedMarks())
            Fail("marks on rows " + std::to_string(seen) + ", marks in use " + std::to_string(store_.UsedMarks()));
    }

    Program& p_;
    TEditorScreenStrings store_;
    ProbeEditor editor_{store_};
    TEditorStrings lines_{store_, &editor_};
    std::string text_;                 // the model: the text the store must hold
    std::string resetText_;            // the text when the history was last emptied
    std::vector<std::string> undo_;    // the text before each step that can be undone
    std::vector<std::string> redo_;    // the text after each step that can be redone
    std::vector<bool> blocks_;         // open update blocks: true on the lines, false on the store
    bool foreignLayout_ = false;       // rows put in by hand since the last whole-text change
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Start("RowStoreOps");
    Program program(data, size);
    Session session(program);
    session.Run();
    return 0;
}
