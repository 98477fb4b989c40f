#pragma once
#include <string>
#include <string_view>
#include <vector>

// What accepting a completion entry does to the document, worked out on the
// caret's logical line alone. The caller replaces line `line` by `lines`
// (one line, or several when the entry has line breaks), then puts the
// caret at byte `caretOffset` of logical line `caretLine`, and shows `help`.
struct CommandInsertion {
    int line = 0;
    std::vector<std::string> lines;
    int caretLine = 0;
    int caretOffset = 0;
    std::string help;  // the entry's help part, its line breaks as CR LF
};

// The command part of an entry without the blanks and control bytes at its
// two ends (a marker at the start is kept whole).
std::string CommandTextOf(std::string_view entry);
// The help part with every line-break marker turned into CR LF.
std::string HelpTextOf(std::string_view entry);

// A command: the typed text, from the last backslash before the caret up to
// the caret, is replaced by the command's first line; the text after the
// caret stays after that line, and the command's other lines follow as new
// lines. The caret goes to the caret marker (its offset counted from the
// start of the inserted text on the first line, or in its own line), or
// after the inserted text when there is none. Without a backslash before the
// caret the command is inserted at the caret and nothing is removed.
// `lineText` is line `line`'s text (empty for the row after the last line)
// and `caret` the caret index in it.
CommandInsertion InsertCommand(std::string_view lineText, int line, int caret, std::string_view entry);

// A template: line `line` (which holds the typed "%" text) is replaced by
// all the template's lines; the caret goes to the marker, or after the
// inserted text.
CommandInsertion InsertTemplate(int line, std::string_view entry);
