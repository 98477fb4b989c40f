#include "tex/TTeXCommand.h"

#include <algorithm>
#include <cstring>

#include "editor/core/EFileError.h"
#include "editor/core/TextFileLoad.h"
#include "platform/AtomicFileWriter.h"

namespace {

// A list file is a few hundred short lines; anything far bigger is not one.
constexpr size_t kMaxListBytes = size_t{64} << 20;

}  // namespace

int TTeXCommand::ByteCollation(const std::string& a, const std::string& b) { return a.compare(b); }

TTeXCommand::TTeXCommand(std::string folder, std::string fileName, Collation collation)
    : folder_(std::move(folder)), fileName_(std::move(fileName)),
      collation_(collation ? std::move(collation) : Collation(ByteCollation))
{
    try {
        entries_ = SplitFileLines(ReadRegularFile(Path(), kMaxListBytes));
    } catch (const EFileError& error) {
        entries_.clear();
        loadError_ = error.Reason;
    }
    RebuildNames();
}

std::string TTeXCommand::Path() const
{
    if (folder_.empty())
        return fileName_;
    return folder_.back() == '/' ? folder_ + fileName_ : folder_ + '/' + fileName_;
}

std::vector<std::string> TTeXCommand::SplitFileLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    const size_t n = bytes.size();
    while (start < n) {
        size_t end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.emplace_back(bytes.substr(start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            start = end + 2;
        else
            start = end + 1;
    }
    return lines;
}

void TTeXCommand::RebuildNames()
{
    names_.clear();
    names_.reserve(entries_.size());
    for (const std::string& entry : entries_)
        names_.push_back(NameOf(entry));
}

void TTeXCommand::SaveList() const
{
    AtomicFileWriter writer(Path());
    std::string bytes;
    for (const std::string& entry : entries_) {
        bytes += entry;
        bytes += "\r\n";
    }
    writer.Write(bytes);
    writer.Commit();
}

void TTeXCommand::AddEntry(std::string_view text)
{
    std::string entry;
    entry.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            entry += LineBreakMarker;
            ++i;
        } else {
            entry += text[i];
        }
    }
    entries_.push_back(std::move(entry));
    Sort();
}

void TTeXCommand::DeleteEntry(int index)
{
    if (index < 0 || index >= Count())
        return;
    entries_.erase(entries_.begin() + index);
    names_.erase(names_.begin() + index);
}

void TTeXCommand::Sort()
{
    std::stable_sort(entries_.begin(), entries_.end(),
                     [this](const std::string& a, const std::string& b) { return collation_(a, b) < 0; });
    RebuildNames();
}

int TTeXCommand::IndexOfName(std::string_view name) const
{
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name)
            return static_cast<int>(i);
    return -1;
}

std::string TTeXCommand::ReplaceMarker(std::string_view text, std::string_view kind, std::string_view with)
{
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(kind, start);
        if (at == std::string_view::npos)
            break;
        out.append(text.substr(start, at - start));
        out.append(with);
        start = at + kind.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string_view TTeXCommand::CommandPart(std::string_view entry)
{
    const size_t at = entry.find(HelpSeparator);
    return at == std::string_view::npos ? entry : entry.substr(0, at);
}

std::string_view TTeXCommand::HelpPart(std::string_view entry)
{
    const size_t at = entry.find(HelpSeparator);
    return at == std::string_view::npos ? std::string_view() : entry.substr(at + HelpSeparator.size());
}

std::string TTeXCommand::NameOf(std::string_view entry)
{
    std::string name = ReplaceMarker(entry, CaretMarker, {});
    const size_t help = name.find(HelpSeparator);
    if (help == std::string::npos)
        return {};
    name.resize(help);
    const size_t brk = name.find(LineBreakMarker);
    if (brk != std::string::npos)
        name.resize(brk);
    return name;
}

std::vector<std::string> TTeXCommand::SplitCommand(std::string_view text, int& col, int& line)
{
    std::vector<std::string> lines;
    if (text.find(LineBreakMarker) == std::string_view::npos) {
        const size_t caret = text.find(CaretMarker);
        line = 0;
        col = caret == std::string_view::npos ? -1 : static_cast<int>(caret);
        lines.push_back(ReplaceMarker(text, CaretMarker, {}));
        return lines;
    }
    size_t start = 0;
    for (int number = 0;; ++number) {
        const size_t brk = text.find(LineBreakMarker, start);
        const std::string_view piece =
            text.substr(start, brk == std::string_view::npos ? std::string_view::npos : brk - start);
        const size_t caret = piece.find(CaretMarker);
        if (caret != std::string_view::npos) {
            col = static_cast<int>(caret);
            line = number;
        }
        lines.push_back(ReplaceMarker(piece, CaretMarker, {}));
        if (brk == std::string_view::npos)
            break;
        start = brk + LineBreakMarker.size();
    }
    return lines;
}
