#include "editor/core/TReserveWordList.h"

#include <algorithm>
#include <stdexcept>

#include "editor/core/ShiftJis.h"

namespace {

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// Walks a string byte by byte and says whether each byte is a character of
// its own (which may be folded) or part of a double-byte character.
class FoldWalker {
public:
    explicit FoldWalker(std::string_view s) : s_(s) {}
    unsigned char At(std::size_t i)
    {
        const auto c = static_cast<unsigned char>(s_[i]);
        if (inCharacter_) {
            inCharacter_ = false;
            return c;
        }
        if (CharLength(s_, i) == 2) {
            inCharacter_ = true;
            return c;
        }
        return FoldAscii(c);
    }

private:
    std::string_view s_;
    bool inCharacter_ = false;
};

}  // namespace

int TReserveWordList::CompareText(std::string_view a, std::string_view b)
{
    FoldWalker wa(a);
    FoldWalker wb(b);
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = wa.At(i);
        const unsigned char cb = wb.At(i);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

const std::string& TReserveWordList::Strings(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("TReserveWordList: index out of range");
    return words_[static_cast<std::size_t>(index)];
}

std::size_t TReserveWordList::LowerBound(std::string_view word) const
{
    auto it = std::lower_bound(words_.begin(), words_.end(), word,
                               [](const std::string& entry, std::string_view w) { return CompareText(entry, w) < 0; });
    return static_cast<std::size_t>(it - words_.begin());
}

int TReserveWordList::IndexOf(std::string_view word) const
{
    const std::size_t i = LowerBound(word);
    if (i < words_.size() && CompareText(words_[i], word) == 0)
        return static_cast<int>(i);
    return -1;
}

bool TReserveWordList::Contains(std::string_view word) const
{
    // Most tokens are rejected by their length alone.
    if (words_.empty() || word.size() < minLength_ || word.size() > maxLength_)
        return false;
    return IndexOf(word) >= 0;
}

int TReserveWordList::Add(std::string_view word)
{
    const std::size_t i = LowerBound(word);
    if (i < words_.size() && CompareText(words_[i], word) == 0)
        return static_cast<int>(i);
    words_.insert(words_.begin() + static_cast<std::ptrdiff_t>(i), std::string(word));
    UpdateLengths();
    Changed();
    return static_cast<int>(i);
}

void TReserveWordList::Delete(int index)
{
    Strings(index);  // range check
    words_.erase(words_.begin() + index);
    UpdateLengths();
    Changed();
}

void TReserveWordList::Clear()
{
    if (words_.empty())
        return;
    words_.clear();
    UpdateLengths();
    Changed();
}

void TReserveWordList::Assign(const std::vector<std::string>& words)
{
    if (&words == &words_)
        return;
    std::vector<std::string> sorted(words.begin(), words.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }),
                 sorted.end());
    words_ = std::move(sorted);
    UpdateLengths();
    Changed();
}

void TReserveWordList::UpdateLengths()
{
    minLength_ = words_.empty() ? 0 : words_.front().size();
    maxLength_ = 0;
    for (const std::string& w : words_) {
        minLength_ = std::min(minLength_, w.size());
        maxLength_ = std::max(maxLength_, w.size());
    }
}

void TReserveWordList::Changed()
{
    if (OnChange)
        OnChange();
}
