// Plays the input as a session of the line and comment operations, the
// markings and find and replace against the editor core, with word wrap on or
// off: random selections and caret places, commenting and uncommenting,
// cutting lines, going to line ends, toggling markings and jumping between
// them, finding and replacing, undo and redo.
//
// After every operation the text is what a plain model of the lines says it
// must be (every target line gains or loses exactly one leading "%" and no
// other line changes; a cut line is the one gone and the one on the
// clipboard), a change is one undo step, the caret stands where the operation
// puts it, and a jump lands on the nearest row marked exactly 1 or stays. At
// the end undoing everything gives back the start.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "build/FindReplace.h"
#include "build/Markings.h"
#include "editor/core/TEditorCore.h"
#include "tex/LineOperations.h"

#include "../tests/editor/core/FakeView.h"
#include "support/FuzzProgram.h"
#include "support/Printable.h"
#include "support/StepChecks.h"

namespace {

using namespace StepChecks;

constexpr std::string_view Pieces[] = {
    "a", "%", "%%", " %", "\x95\x5c", "\r\n", "\r\n", "xy", "\t", "\x82\xa0", "abc", "a\r\nbc", "",
};

// A text as its lines: each line's bytes and whether a CR LF ends it.
struct Line {
    std::string Text;
    bool Break;
};

// The editor's logical lines: every line but the last ends with a break, and
// the last does when the document ends with one.
std::vector<Line> LinesOf(const TEditorCore& ed)
{
    std::vector<Line> lines;
    const int count = ed.Lines().GetCount();
    const int rows = ed.RowCount();
    for (int i = 0; i < count; ++i)
        lines.push_back({ed.Lines().Get(i), i + 1 < count || ed.Store().GetRowAttribute(rows - 1) == raLineBreak});
    return lines;
}

std::string JoinLines(const std::vector<Line>& lines)
{
    std::string text;
    for (const Line& line : lines)
        text += line.Text + (line.Break ? "\r\n" : "");
    return text;
}

class Session {
public:
    explicit Session(Program& p) : p_(p)
    {
        ed_.SetUndoListMax(1 << 20);
        std::string text;
        const int n = p_.Byte() % 24;
        for (int i = 0; i < n; ++i)
            text += Pieces[p_.Byte() % std::size(Pieces)];
        ed_.Lines().SetTextStr(text);
        if (p_.Bit()) {
            ed_.WrapOption().SetWrapByte(4 + p_.Byte() % 12);
            ed_.SetWordWrap(true);
        }
        ed_.Resized();
        start_ = Text();
    }

    void Run()
    {
        while (!p_.Done() && g_step < 300) {
            ++g_step;
            Step();
            Require(ed_.Row() >= 0 && ed_.Row() <= ed_.Store().MaxCaretRow(), "the caret left the document");
        }
        g_op = "undo everything";
        int steps = 0;
        while (ed_.Store().UndoObj().CanUndo() && steps++ < 100000)
            ed_.Undo();
        RequireText(Text(), start_, "undoing everything did not restore the start");
    }

private:
    std::string Text() const { return ed_.Lines().GetTextStr(); }
    std::size_t UndoSteps() const { return ed_.Store().UndoObj().UndoList().size(); }
    int AnyRow() { return p_.Byte() % (ed_.RowCount() + 1); }

    // The text and undo list after a line operation on the target lines.
    void ExpectLineChange(const std::string& before, std::size_t undoBefore, const std::string& want)
    {
        RequireText(Text(), want, "the lines did not change as the model says");
        Require(UndoSteps() == undoBefore + (want == before ? 0 : 1), "a line operation was not one undo step");
    }

    void Comment(bool add)
    {
        g_op = add ? "comment lines" : "uncomment lines";
        const LineOperations::LineSpan target = LineOperations::TargetLines(ed_);
        const std::string before = Text();
        const std::size_t undoBefore = UndoSteps();
        std::vector<Line> lines = LinesOf(ed_);
        const int count = static_cast<int>(lines.size());
        for (int i = target.First; i <= target.Last && i < count; ++i) {
            std::string& text = lines[static_cast<std::size_t>(i)].Text;
            if (add)
                text.insert(0, "%");
            else if (!text.empty() && text[0] == '%')
                text.erase(0, 1);
        }
        // The row after a final line break becomes a line of its own.
        if (add && target.Last >= count)
            lines.push_back({"%", false});
        if (add)
            LineOperations::CommentLines(ed_);
        else
            LineOperations::UncommentLines(ed_);
        const std::string want = JoinLines(lines);
        ExpectLineChange(before, undoBefore, want);
        if (ed_.Selected() && want != before) {
            const LineOperations::LineSpan after = LineOperations::TargetLines(ed_);
            if (after.First != target.First || after.Last != std::min(target.Last, std::max(ed_.Lines().GetCount() - 1, 0)))
                Fail("the selection did not stay over the same lines: " + std::to_string(target.First) + ".." +
                     std::to_string(target.Last) + " became " + std::to_string(after.First) + ".." +
                     std::to_string(after.Last) + " in " + Printable(Text()));
        }
    }

    void CutLine()
    {
        g_op = "cut line";
        const int line = ed_.RowToLine(ed_.Row());
        const std::string before = Text();
        const std::size_t undoBefore = UndoSteps();
        std::vector<Line> lines = LinesOf(ed_);
        view_.clip = "untouched";
        LineOperations::CutLine(ed_);
        if (line >= static_cast<int>(lines.size())) {
            RequireText(*view_.clip, "untouched", "a cut below the last line changed the clipboard");
            ExpectLineChange(before, undoBefore, before);
            return;
        }
        RequireText(*view_.clip, lines[static_cast<std::size_t>(line)].Text, "the clipboard does not hold the line");
        // The line goes, and with it its own break; the line above keeps its own.
        lines.erase(lines.begin() + line);
        ExpectLineChange(before, undoBefore, JoinLines(lines));
    }

    void LineEnds(bool end)
    {
        g_op = end ? "line end" : "line start";
        const int line = ed_.RowToLine(ed_.Row());
        const bool exists = line < ed_.Lines().GetCount();
        const std::string text = exists ? ed_.Lines().Get(line) : std::string();
        if (text.size() > 900)
            return;
        if (end)
            LineOperations::MoveToLineEnd(ed_);
        else
            LineOperations::MoveToLineStart(ed_);
        Require(ed_.RowToLine(ed_.Row()) == line, "the caret left its line");
        const int index = ed_.RowColToCharIndex(ed_.Row(), ed_.Col());
        if (end && exists)
            Require(index == static_cast<int>(text.size()), "the caret is not at the line's end");
        if (!end)
            Require(ed_.Col() == 0 && ed_.Row() == ed_.LineToRow(line), "the caret is not at the line's start");
    }

    void Jump(bool up)
    {
        g_op = up ? "marking above" : "marking below";
        const int from = ed_.Row();
        int want = from;
        const int rows = ed_.RowCount();
        if (up) {
            for (int r = std::min(from, rows) - 1; r >= 0 && want == from; --r)
                if (ed_.GetRowMarks(r) == 1)
                    want = r;
        } else {
            for (int r = from + 1; r < rows && want == from; ++r)
                if (ed_.GetRowMarks(r) == 1)
                    want = r;
        }
        const int col = ed_.Col();
        if (up)
            Markings::GoToMarkingAbove(ed_);
        else
            Markings::GoToMarkingBelow(ed_);
        Require(ed_.Row() == want, "the jump did not reach the nearest marked row");
        Require(want == from ? ed_.Col() == col : ed_.Col() == 0, "the jump left the caret off column 0");
    }

    void Find()
    {
        g_op = "find or replace";
        FindReplace::Request request;
        request.Pattern = std::string(Pieces[p_.Byte() % std::size(Pieces)]);
        request.ReplaceMode = p_.Bit();
        request.Replacement = std::string(Pieces[p_.Byte() % std::size(Pieces)]);
        const std::size_t undoBefore = UndoSteps();
        const std::string before = Text();
        FindReplace::Run(ed_, request);
        Require(UndoSteps() <= undoBefore + 1, "a replacement took more than one undo step");
        if (!request.ReplaceMode)
            RequireText(Text(), before, "finding changed the text");
    }

    void Step()
    {
        switch (p_.Byte() % 12) {
        case 0:
            g_op = "select";
            ed_.Select(AnyRow(), p_.Byte() % 12, AnyRow(), p_.Byte() % 12);
            break;
        case 1:
            g_op = "place caret";
            ed_.ClearSelection();
            ed_.SetRowCol(AnyRow(), p_.Byte() % 12);
            break;
        case 2:
            Comment(true);
            break;
        case 3:
            Comment(false);
            break;
        case 4:
            CutLine();
            break;
        case 5:
            LineEnds(p_.Bit());
            break;
        case 6:
            g_op = "toggle marking";
            ed_.SetRowCol(AnyRow(), 0);
            Markings::ToggleMarking(ed_);
            break;
        case 7:
            g_op = "set marks";
            ed_.SetRowMarks(AnyRow(), static_cast<uint16_t>(p_.Byte() % 4));
            break;
        case 8:
            Jump(p_.Bit());
            break;
        case 9:
            Find();
            break;
        case 10:
            g_op = "undo";
            ed_.Undo();
            break;
        default:
            g_op = "redo";
            ed_.Redo();
            break;
        }
    }

    Program& p_;
    FakeView view_;
    TEditorCore ed_{view_};
    std::string start_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Start("LineOperationsSession");
    Program program(data, size);
    Session session(program);
    session.Run();
    return 0;
}
