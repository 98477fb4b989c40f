#include "tex/CommandInsertion.h"

#include <algorithm>

#include "tex/CharPos.h"
#include "tex/TTeXCommand.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool MarkerAt(std::string_view text, size_t i)
{
    return i + 1 < text.size() && text[i] == '\x1b'
        && (text.substr(i, 2) == TTeXCommand::CaretMarker || text.substr(i, 2) == TTeXCommand::LineBreakMarker);
}

}  // namespace

std::string CommandTextOf(std::string_view entry)
{
    std::string_view command = TTeXCommand::CommandPart(entry);
    size_t start = 0;
    while (start < command.size() && IsBlank(command[start]) && !MarkerAt(command, start))
        ++start;
    size_t end = command.size();
    while (end > start && IsBlank(command[end - 1]))
        --end;
    return std::string(command.substr(start, end - start));
}

std::string HelpTextOf(std::string_view entry)
{
    return TTeXCommand::ReplaceMarker(TTeXCommand::HelpPart(entry), TTeXCommand::LineBreakMarker, "\r\n");
}

CommandInsertion InsertCommand(std::string_view lineText, int line, int caret, std::string_view entry)
{
    CommandInsertion result;
    result.line = line;
    result.help = HelpTextOf(entry);
    const size_t at = std::min(static_cast<size_t>(std::max(caret, 0)), lineText.size());
    const int b = LastCharPos('\\', lineText.substr(0, at));
    const size_t start = b > 0 ? static_cast<size_t>(b) - 1 : at;

    int col = -1;
    int caretLine = 0;
    result.lines = TTeXCommand::SplitCommand(CommandTextOf(entry), col, caretLine);
    std::string first(lineText.substr(0, start));
    first += result.lines.front();
    const size_t firstEnd = first.size();
    first += lineText.substr(at);
    result.lines.front() = std::move(first);

    if (col < 0) {
        // No marker: after the inserted text.
        result.caretLine = line + static_cast<int>(result.lines.size()) - 1;
        result.caretOffset =
            result.lines.size() == 1 ? static_cast<int>(firstEnd) : static_cast<int>(result.lines.back().size());
    } else if (caretLine == 0) {
        result.caretLine = line;
        result.caretOffset = static_cast<int>(start) + col;
    } else {
        result.caretLine = line + caretLine;
        result.caretOffset = col;
    }
    return result;
}

CommandInsertion InsertTemplate(int line, std::string_view entry)
{
    CommandInsertion result;
    result.line = line;
    result.help = HelpTextOf(entry);
    int col = -1;
    int caretLine = 0;
    result.lines = TTeXCommand::SplitCommand(CommandTextOf(entry), col, caretLine);
    if (col < 0) {
        result.caretLine = line + static_cast<int>(result.lines.size()) - 1;
        result.caretOffset = static_cast<int>(result.lines.back().size());
    } else {
        result.caretLine = line + caretLine;
        result.caretOffset = col;
    }
    return result;
}
