#include "app/FileLineBreaks.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Position of the next CR LF at or after `from`; npos when none.
size_t NextCrLf(std::string_view text, size_t from)
{
    while (from < text.size()) {
        const void* cr = std::memchr(text.data() + from, '\r', text.size() - from);
        if (!cr)
            return std::string_view::npos;
        const size_t at = static_cast<size_t>(static_cast<const char*>(cr) - text.data());
        if (at + 1 < text.size() && text[at + 1] == '\n')
            return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

size_t CountCrLf(std::string_view text)
{
    size_t n = 0;
    for (size_t at = NextCrLf(text, 0); at != std::string_view::npos; at = NextCrLf(text, at + 2))
        ++n;
    return n;
}

}  // namespace

std::string_view LineBreakBytes(LineBreak kind)
{
    switch (kind) {
    case LineBreak::CrLf:
        return kCrLf;
    case LineBreak::Cr:
        return "\r";
    case LineBreak::Lf:
        break;
    }
    return "\n";
}

// --- scanning a file -------------------------------------------------------------

void FileLineBreaks::Scanner::Add(LineBreak kind)
{
    const size_t total = counts_[0] + counts_[1] + counts_[2];
    if (total == 0) {
        first_ = kind;
    } else if (!mixed_ && kind != first_) {
        mixed_ = true;
        kinds_.assign(total, first_);
    }
    if (mixed_)
        kinds_.push_back(kind);
    ++counts_[static_cast<int>(kind)];
}

void FileLineBreaks::Scanner::Feed(std::string_view bytes)
{
    const char* p = bytes.data();
    const size_t n = bytes.size();
    size_t i = 0;
    if (pendingCr_ && n > 0) {
        pendingCr_ = false;
        if (p[0] == '\n') {
            Add(LineBreak::CrLf);
            i = 1;
        } else {
            Add(LineBreak::Cr);
        }
    }
    while (i < n) {
        // Most bytes are above CR: skip them quickly.
        while (i < n && static_cast<unsigned char>(p[i]) > '\r')
            ++i;
        if (i == n)
            break;
        if (p[i] == '\n') {
            Add(LineBreak::Lf);
        } else if (p[i] == '\r') {
            if (i + 1 == n)
                pendingCr_ = true;
            else if (p[i + 1] == '\n')
                Add(LineBreak::CrLf), ++i;
            else
                Add(LineBreak::Cr);
        }
        ++i;
    }
}

FileLineBreaks FileLineBreaks::Scanner::Finish()
{
    if (pendingCr_) {
        pendingCr_ = false;
        Add(LineBreak::Cr);
    }
    FileLineBreaks result;
    std::copy(std::begin(counts_), std::end(counts_), std::begin(result.counts_));
    result.mixed_ = mixed_;
    result.kinds_ = std::move(kinds_);
    if (!mixed_) {
        result.style_ = result.BreakCount() > 0 ? first_ : LineBreak::Lf;
    } else {
        // The most common kind; LF wins a tie (this platform's own), then CR LF.
        const size_t crlf = result.Count(LineBreak::CrLf);
        const size_t lf = result.Count(LineBreak::Lf);
        const size_t cr = result.Count(LineBreak::Cr);
        if (lf >= crlf && lf >= cr)
            result.style_ = LineBreak::Lf;
        else if (crlf >= cr)
            result.style_ = LineBreak::CrLf;
        else
            result.style_ = LineBreak::Cr;
    }
    return result;
}

// --- remembering and writing -------------------------------------------------------

void FileLineBreaks::RememberLoadedText(std::string text)
{
    if (!mixed_)
        return;
    if (CountCrLf(text) != kinds_.size()) {
        kinds_.clear();
        text_.clear();
        return;
    }
    text_ = std::move(text);
}

FileLineBreaks FileLineBreaks::Write(std::string_view text,
                                     const std::function<void(std::string_view)>& sink) const
{
    FileLineBreaks written;
    written.style_ = style_;

    // With a mixed file's memory: the unchanged start [0, prefixEnd) and end
    // [suffixStart, size) of the text, compared with the file's text. A break
    // lying wholly in either keeps its own kind.
    const bool remember = mixed_ && !kinds_.empty();
    size_t prefixEnd = 0;
    size_t suffixStart = text.size();
    size_t textBreaks = 0;
    std::vector<LineBreak> kinds;
    if (remember) {
        const std::string_view old = text_;
        const size_t common = std::min(text.size(), old.size());
        size_t l = 0;
        while (l < common && text[l] == old[l])
            ++l;
        size_t r = 0;
        while (r < common - l && text[text.size() - 1 - r] == old[old.size() - 1 - r])
            ++r;
        prefixEnd = l;
        suffixStart = text.size() - r;
        textBreaks = CountCrLf(text);
        kinds.reserve(textBreaks);
    }

    size_t index = 0;
    size_t last = 0;
    for (size_t at = NextCrLf(text, 0); at != std::string_view::npos; at = NextCrLf(text, at + 2), ++index) {
        LineBreak kind = style_;
        if (remember) {
            if (at + 2 <= prefixEnd)
                kind = kinds_[index];
            else if (at >= suffixStart)
                kind = kinds_[kinds_.size() - (textBreaks - index)];
            kinds.push_back(kind);
        }
        if (kind == LineBreak::CrLf)
            continue;  // the bytes stay as they are; written with the run
        sink(text.substr(last, at - last));
        sink(LineBreakBytes(kind));
        last = at + 2;
        ++written.counts_[static_cast<int>(kind)];
    }
    if (last < text.size())
        sink(text.substr(last));
    // CR LF breaks were not counted in the loop.
    written.counts_[static_cast<int>(LineBreak::CrLf)] =
        index - written.counts_[static_cast<int>(LineBreak::Lf)] - written.counts_[static_cast<int>(LineBreak::Cr)];

    const int kindsPresent = (written.counts_[0] > 0) + (written.counts_[1] > 0) + (written.counts_[2] > 0);
    if (kindsPresent > 1) {
        written.mixed_ = true;
        written.kinds_ = std::move(kinds);
        written.text_ = std::string(text);
    }
    return written;
}
