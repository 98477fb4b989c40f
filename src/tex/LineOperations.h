#pragma once
#include <string>
#include <string_view>

class TEditorCore;

// Editing on whole logical lines: turning them into TeX comments and back,
// cutting the caret's line, going to the ends of the caret's line, and
// counting the selected characters. Lines are the editor's logical lines;
// with word wrap on one line spans several rows.
namespace LineOperations {

// Logical lines, both included. Last may be the line count: the empty row
// after the last line, where the caret stands below a final line break.
struct LineSpan {
    int First = 0;
    int Last = 0;
};

// The lines of the selection, from its start row's line to its end row's
// line (that line counts even when the selection ends at its first column),
// or the caret's line when nothing is selected.
LineSpan TargetLines(const TEditorCore& editor);

// `lines`: whole lines, CR LF after each ended one. A "%" goes in front of
// every line; a final CR LF starts no new line.
std::string AddCommentMarks(std::string_view lines);
// One "%" comes off every line that begins with it, and only at the very
// start: blanks before it keep it, and "%%" keeps one.
std::string RemoveCommentMarks(std::string_view lines);

// Puts "%" in front of every target line (also when one is there already);
// the empty row after the last line becomes a line holding "%". One undo
// step for all the lines. A selection is kept over the same lines.
void CommentLines(TEditorCore& editor);
// Takes the first "%" off every target line that begins with one. One undo
// step; nothing changes (and nothing is recorded) when no line begins with "%".
void UncommentLines(TEditorCore& editor);

// The caret's line, without its line break, replaces the clipboard's content
// and leaves the document; the lines below move up. Nothing happens on the
// row after the last line.
void CutLine(TEditorCore& editor);

// Column 0 of the first row of the caret's line.
void MoveToLineStart(TEditorCore& editor);
// The end of the caret's line, on its last row.
void MoveToLineEnd(TEditorCore& editor);

// Characters of a selected text with its CR LF pairs taken out: a
// double-byte character counts one, as does every single byte.
int CountCharacters(std::string_view text);

}  // namespace LineOperations
