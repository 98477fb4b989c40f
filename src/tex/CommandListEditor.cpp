#include "tex/CommandListEditor.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "editor/core/EFileError.h"
#include "editor/core/ShiftJis.h"

namespace {

// Creation order, which is also the order of saving.
constexpr const char* kFiles[CommandListEditor::kItemCount] = {
    "TeX_Command.txt", "TeX_Command_SP.txt", "TeX_Command_Math.txt", "TeX_Template.txt"};
// The list slot of each radio item.
constexpr int kSlotOfItem[CommandListEditor::kItemCount] = {1, 0, 2, 3};

// `text` split at CR LF, lone CR and lone LF.
std::vector<std::string> SplitAtLineBreaks(std::string_view text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace

const char* CommandListEditor::FileOfItem(int item) { return kFiles[SlotOfItem(item)]; }

int CommandListEditor::SlotOfItem(int item)
{
    if (item < 0 || item >= kItemCount)
        throw std::out_of_range("command list item");
    return kSlotOfItem[item];
}

CommandListEditor::CommandListEditor(std::string folder, TTeXCommand::Collation collation)
    : folder_(std::move(folder)), collation_(std::move(collation))
{
}

std::vector<CommandListEditor::FileProblem> CommandListEditor::Load()
{
    std::vector<FileProblem> problems;
    for (int slot = 0; slot < kItemCount; ++slot) {
        lists_[slot] = std::make_unique<TTeXCommand>(folder_, kFiles[slot], collation_);
        changed_[slot] = false;
        unread_[slot] = false;
        const TTeXCommand& list = *lists_[slot];
        if (list.LoadError().empty())
            continue;
        std::error_code error;
        if (std::filesystem::exists(list.Path(), error) || error) {
            unread_[slot] = true;
            problems.push_back({list.Path(), list.LoadError()});
        }
    }
    loaded_ = true;
    return problems;
}

void CommandListEditor::Discard()
{
    for (auto& list : lists_)
        list.reset();
    loaded_ = false;
}

TTeXCommand& CommandListEditor::List(int item)
{
    const int slot = SlotOfItem(item);
    if (!lists_[slot])
        throw std::logic_error("the command lists are not loaded");
    return *lists_[slot];
}

const std::vector<std::string>& CommandListEditor::Update(int item)
{
    TTeXCommand& list = List(item);
    list.Sort();
    return list.Names();
}

bool CommandListEditor::Open(int item, int index, EditText& text)
{
    const TTeXCommand& list = List(item);
    if (index < 0 || index >= list.Count())
        return false;
    const std::string& entry = list.Entries()[index];
    text.CaretLine = 0;
    text.CaretOffset = 0;
    text.Lines = TTeXCommand::SplitCommand(TTeXCommand::CommandPart(entry), text.CaretOffset, text.CaretLine);
    text.Help = TTeXCommand::ReplaceMarker(TTeXCommand::HelpPart(entry), TTeXCommand::LineBreakMarker, "\n");
    return true;
}

std::string CommandListEditor::ComposeEntry(std::vector<std::string> lines, int caretLine, int caretOffset,
                                            std::string_view help)
{
    const std::string caret(TTeXCommand::CaretMarker);
    if (caretLine < 0 || caretLine >= static_cast<int>(lines.size())) {
        lines.push_back(caret);
    } else {
        std::string& line = lines[caretLine];
        const auto at = static_cast<std::size_t>(std::clamp(caretOffset, 0, static_cast<int>(line.size())));
        // Never between the two bytes of a character.
        line.insert(CharStart(line, at), caret);
    }
    // Lines joined by CR LF; a lone CR or LF inside a line is a line break
    // too, since it would end the entry in the list file.
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined += (i > 0 ? "\n" : "") + lines[i];
    std::string text;
    const std::vector<std::string> commandLines = SplitAtLineBreaks(joined);
    for (std::size_t i = 0; i < commandLines.size(); ++i)
        text += (i > 0 ? "\r\n" : "") + commandLines[i];
    text += TTeXCommand::HelpSeparator;
    const std::vector<std::string> helpLines = SplitAtLineBreaks(help);
    for (std::size_t i = 0; i < helpLines.size(); ++i) {
        if (i > 0)
            text += TTeXCommand::LineBreakMarker;
        text += helpLines[i];
    }
    return text;
}

bool CommandListEditor::Add(int item, std::vector<std::string> lines, int caretLine, int caretOffset,
                            std::string_view help)
{
    TTeXCommand& list = List(item);
    if (lines.empty() || lines.front().empty())
        return false;
    list.AddEntry(ComposeEntry(std::move(lines), caretLine, caretOffset, help));
    changed_[SlotOfItem(item)] = true;
    return true;
}

void CommandListEditor::Delete(int item, int index)
{
    TTeXCommand& list = List(item);
    if (index < 0 || index >= list.Count())
        return;
    list.DeleteEntry(index);
    changed_[SlotOfItem(item)] = true;
}

std::vector<CommandListEditor::FileProblem> CommandListEditor::Save()
{
    std::vector<FileProblem> failures;
    for (int slot = 0; slot < kItemCount; ++slot) {
        if (!lists_[slot] || (unread_[slot] && !changed_[slot]))
            continue;
        try {
            lists_[slot]->SaveList();
            unread_[slot] = false;
        } catch (const EFileError& error) {
            failures.push_back({lists_[slot]->Path(), error.Reason});
        }
    }
    return failures;
}
