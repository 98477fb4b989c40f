// Plays the input as a user session against the editor core: keys,
// characters, input-method results, mouse presses, moves, releases and double clicks
// (inside and outside the window), clipboard commands, box mode, searches,
// marks, scrolling, undo and redo, under a random set of caret options with
// word wrap on or off.
//
// After every step:
// - the caret stands inside the document and never on the second cell of a
//   double-byte character, nor inside a TAB's filler unless InTab is on;
// - a selection lies inside the document, start before end;
// - plain typing and deleting change the text exactly as they would change a
//   string (checked whenever the caret stands on text and nothing is
//   selected).
// At the end, undoing everything gives back the text as it stood after the
// last operation that clears the undo list, and redoing everything gives the
// final text again.
//
// Set EDITOR_SESSION_TRACE=1 to print the session as it runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "editor/core/CellMap.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorCore.h"

#include "../tests/editor/core/FakeView.h"
#include "support/FuzzProgram.h"
#include "support/Printable.h"
#include "support/StepChecks.h"

namespace {

using namespace StepChecks;

bool Tracing()
{
    static const bool on = TraceRequested("EDITOR_SESSION_TRACE");
    return on;
}

// Characters a user types: ASCII, a kanji whose second byte is a backslash,
// hiragana, a half-width katakana, the double-byte blank, brackets and a
// full stop for the wrap rules.
constexpr std::string_view Chars[] = {
    "a", "b", " ", "\x95\x5c", "\x82\xa0", "\xb1", "\x81\x40", "(", ".", "\\", "\x81\x42",
};
// Text for pastes, input-method results and replacements.
constexpr std::string_view Pieces[] = {
    "xy", "\r\n", "\x95\x5c\x95\x5c", "a\r\nb", "\t", "  ", "\x82\xa0\x82\xa2", "(((", "",
};

std::string ReadPiece(Program& p)
{
    std::string text;
    const int n = 1 + p.Byte() % 3;
    for (int i = 0; i < n; ++i)
        text += Pieces[p.Byte() % std::size(Pieces)];
    return text;
}

class Session {
public:
    explicit Session(Program& p) : p_(p)
    {
        view_.width = 200 + p_.Byte();
        view_.height = 100 + p_.Byte();
        const uint16_t flags = static_cast<uint16_t>(p_.Word());
        TEditorCaret& c = ed_.Caret();
        c.SetAutoIndent(flags & 1);
        c.SetBackSpaceUnIndent(flags & 2);
        c.SetFreeCaret(flags & 4);
        c.SetFreeRow(flags & 8);
        c.SetInTab(flags & 16);
        c.SetKeepCaret(flags & 32);
        c.SetNextLine(flags & 64);
        c.SetPrevSpaceIndent(flags & 128);
        c.SetSoftTab(flags & 256);
        c.SetTabIndent(flags & 512);
        c.SetRowSelect(flags & 1024);
        c.SetSelMove(!(flags & 2048));
        c.SetTabSpaceCount(1 + (flags >> 12) % 8);
        ed_.SetHitStyle(static_cast<TEditorHitStyle>(p_.Byte() % 3));
        ed_.Leftbar().SetVisible(p_.Bit());
        ed_.Ruler().SetVisible(p_.Bit());
        ed_.SetUndoListMax(1 << 20);

        std::string text;
        const int n = p_.Byte() % 16;
        for (int i = 0; i < n; ++i)
            text += i % 3 == 2 ? Pieces[p_.Byte() % std::size(Pieces)] : Chars[p_.Byte() % std::size(Chars)];
        ed_.Lines().SetTextStr(text);
        if (p_.Bit()) {
            ed_.WrapOption().SetWrapByte(4 + p_.Byte() % 30);
            ed_.SetWordWrap(true);
        }
        ed_.Resized();
        start_ = before_ = Text();
    }

    void Run()
    {
        while (!p_.Done() && g_step < 400) {
            ++g_step;
            Step();
            Check();
        }
        Finish();
    }

private:
    std::string Text() const { return ed_.Lines().GetTextStr(); }

    // The caret's offset in the text when it stands on text (not beyond a
    // row's end, not after the last row, not inside a TAB, where typing goes
    // after the TAB) and nothing is selected.
    bool CaretOnText(size_t& offset) const
    {
        if (ed_.SelectionState() >= 2 || ed_.Row() >= ed_.RowCount() || ed_.Col() > ed_.RowWidth(ed_.Row()))
            return false;
        const std::string map = ed_.BuildMap(ed_.Row());
        if (ed_.Col() < static_cast<int>(map.size()) && map[ed_.Col()] == CellKind::TabFill)
            return false;
        offset = static_cast<size_t>(ed_.SelStart());
        if (offset > before_.size())
            Fail("caret offset " + std::to_string(offset) + " beyond the text of " + std::to_string(before_.size())
                 + " bytes");
        return true;
    }

    void Step()
    {
        const uint8_t op = p_.Byte();
        switch (op % 16) {
        case 0:
        case 1:
        case 2: {
            g_op = "type";
            const std::string_view ch = Chars[p_.Byte() % std::size(Chars)];
            size_t at = 0;
            const bool plain = CaretOnText(at) && ed_.ImePending() == 0;
            ed_.KeyPress(ch);
            if (plain && !ed_.MouseCaptured())
                RequireText(Text(), std::string(before_).insert(at, ch), "typing differs from the model");
            break;
        }
        case 3: {
            const bool back = p_.Bit();
            g_op = back ? "backspace" : "delete";
            size_t at = 0;
            const bool plain = CaretOnText(at) && !(back && (ed_.Caret().BackSpaceUnIndent() || ed_.MouseCaptured()
                                                             || ed_.ImePending() > 0));
            std::string want = before_;
            if (back) {
                ed_.KeyPress("\b");
                if (plain && at > 0)
                    want.erase(PreviousCharStart(want, at), at - PreviousCharStart(want, at));
            } else {
                ed_.KeyDown(TEditorKey::Delete, 0);
                if (plain && at < want.size())
                    want.erase(at, CharLength(want, at));
            }
            if (plain)
                RequireText(Text(), want, "deleting differs from the model");
            break;
        }
        case 4:
            g_op = "key";
            ed_.KeyDown(static_cast<TEditorKey>(p_.Byte() % 8), p_.Byte() % 8, p_.Bit());
            break;
        case 5:
            g_op = "tab/enter";
            ed_.KeyPress(p_.Bit() ? "\t" : "\r", p_.Bit() ? TShiftState{ssShift} : TShiftState{0});
            break;
        case 6:
            g_op = "ime";
            ed_.ImeResult(ReadPiece(p_), p_.Bit());
            break;
        case 7: {
            g_op = "mouse";
            const int x = static_cast<int>(p_.Byte()) * 2 - 40;
            const int y = static_cast<int>(p_.Byte()) * 2 - 40;
            const TShiftState shift = p_.Byte() % 8;
            const int kind = p_.Byte() % 4;
            if (Tracing())
                std::fprintf(stderr, "     mouse %d at %d,%d shift %u\n", kind, x, y, shift);
            switch (kind) {
            case 0:
                ed_.MouseDown(x, y, shift);
                break;
            case 1:
                ed_.MouseMove(x, y, true);
                break;
            case 2:
                ed_.MouseUp(x, y, shift);
                break;
            case 3:
                ed_.MouseMove(x, y, false);
                (void)ed_.CursorAt(x, y, shift);
                // With all three modifiers, a double click there as well
                // (a choice that reads no more input, so saved sessions
                // play as they did).
                if (shift == 7)
                    ed_.DoubleClick(x, y);
                break;
            }
            break;
        }
        case 8:
            g_op = "clipboard";
            switch (p_.Byte() % 5) {
            case 0:
                ed_.CopyToClipboard();
                break;
            case 1:
                ed_.CutToClipboard();
                break;
            case 2:
                ed_.PasteFromClipboard();
                break;
            case 3:
                ed_.PasteBox(view_.clip.value_or(std::string()));
                break;
            case 4:
                view_.clip = ReadPiece(p_);
                view_.clipBox = p_.Bit();
                break;
            }
            break;
        case 9:
            g_op = "box mode";
            ed_.SetBoxMode(!ed_.BoxMode());
            break;
        case 10:
            g_op = "search";
            ed_.Search(ReadPiece(p_), static_cast<TSearchOptions>(p_.Word()));
            break;
        case 11:
            g_op = p_.Bit() ? "undo" : "redo";
            if (g_op[0] == 'u')
                ed_.Undo();
            else
                ed_.Redo();
            break;
        case 12:
            g_op = "replace selection";
            ed_.SetSelText(ReadPiece(p_));
            break;
        case 13:
            g_op = "select all / escape";
            if (p_.Bit())
                ed_.SelectAll();
            else
                ed_.CancelDrag();
            break;
        case 14: {
            g_op = "marks / scroll";
            const int row = p_.Byte() % (ed_.RowCount() + 2);
            const int mark = p_.Byte() % 17;
            switch (p_.Byte() % 4) {
            case 0:
                ed_.PutMark(row, mark);
                break;
            case 1:
                ed_.DeleteMark(row, mark);
                break;
            case 2:
                ed_.GotoMark(mark);
                break;
            case 3:
                ed_.ScrollRequest(p_.Bit(), static_cast<TScrollRequest>(p_.Byte() % 7), p_.Byte());
                break;
            }
            break;
        }
        case 15:
            // These clear the undo list: the session's start moves here.
            g_op = "wrap";
            if (p_.Bit()) {
                ed_.WrapOption().SetWrapByte(4 + p_.Byte() % 30);
            } else {
                ed_.SetWordWrap(!ed_.WordWrap());
            }
            if (!ed_.Store().UndoObj().CanUndo())
                start_ = Text();
            break;
        }
    }

    static size_t CharLength(const std::string& t, size_t at)
    {
        if (t.compare(at, 2, "\r\n") == 0)
            return 2;
        return IsLeadByte(static_cast<unsigned char>(t[at])) && at + 1 < t.size() ? 2 : 1;
    }

    static size_t PreviousCharStart(const std::string& t, size_t at)
    {
        size_t i = 0;
        size_t last = 0;
        while (i < at) {
            last = i;
            i += CharLength(t, i);
        }
        return last;
    }

    void Check()
    {
        const int count = ed_.RowCount();
        const int row = ed_.Row();
        const int col = ed_.Col();
        Require(row >= 0 && row <= count, "caret row outside the document");
        Require(col >= 0 && col <= 1001, "caret column outside 0..1001");
        if (row == count && count > 0)
            Require(ed_.Store().GetRowAttribute(count - 1) == raLineBreak,
                    "caret on the row after the last without a final line break");
        const std::string map = ed_.BuildMap(row);
        if (col < static_cast<int>(map.size())) {
            Require(map[col] != CellKind::Trail, "caret on the second cell of a double-byte character");
            if (!ed_.Caret().InTab())
                Require(map[col] != CellKind::TabFill, "caret inside a TAB's filler");
        }
        if (ed_.SelectionState() >= 2) {
            const TEditorSelectionRange& s = ed_.SelChars();
            if (!(s.StartRow <= s.EndRow && s.EndRow <= count))
                Fail("selection rows " + std::to_string(s.StartRow) + ".." + std::to_string(s.EndRow)
                     + " outside the document of " + std::to_string(count) + " rows");
            Require(s.StartRow < s.EndRow || s.StartCol <= s.EndCol || ed_.BoxMode(), "selection ends before it starts");
            Require(s.StartCol >= 0 && s.StartCol <= static_cast<int>(ed_.RowText(s.StartRow).size()),
                    "selection start outside its row");
            Require(s.EndCol >= 0 && s.EndCol <= static_cast<int>(ed_.RowText(s.EndRow).size()),
                    "selection end outside its row");
        }
        Require(ed_.TopRow() >= 0 && ed_.TopRow() <= std::max(0, count), "TopRow outside the document");
        before_ = Text();
        if (Tracing())
            std::fprintf(stderr, "%4d %-20s caret %d,%d sel %d text %s\n", g_step, g_op, row, col,
                         ed_.SelectionState(), Printable(before_, 80).c_str());
    }

    void Finish()
    {
        g_op = "undo everything";
        while (ed_.MouseCaptured())
            ed_.MouseUp(0, 0, 0);
        const std::string end = Text();
        int steps = 0;
        while (ed_.Store().UndoObj().CanUndo() && steps < 100000) {
            ed_.Undo();
            ++steps;
        }
        RequireText(Text(), start_, "undoing everything did not restore the start");
        g_op = "redo everything";
        while (ed_.Store().UndoObj().CanRedo() && steps-- > 0)
            ed_.Redo();
        RequireText(Text(), end, "redoing everything did not give the end back");
    }

    Program& p_;
    FakeView view_;
    TEditorCore ed_{view_};
    std::string start_;
    std::string before_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Start("EditorSession");
    Program program(data, size);
    Session session(program);
    session.Run();
    return 0;
}
