#include "editor/core/TFileExtList.h"

#include <algorithm>
#include <stdexcept>

#include "editor/core/TReserveWordList.h"

const std::string& TFileExtList::Strings(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("TFileExtList: index out of range");
    return items_[static_cast<std::size_t>(index)];
}

std::size_t TFileExtList::LowerBound(std::string_view ext) const
{
    auto it = std::lower_bound(items_.begin(), items_.end(), ext, [](const std::string& entry, std::string_view e) {
        return TReserveWordList::CompareText(entry, e) < 0;
    });
    return static_cast<std::size_t>(it - items_.begin());
}

int TFileExtList::IndexOf(std::string_view ext) const
{
    const std::size_t i = LowerBound(ext);
    if (i < items_.size() && TReserveWordList::CompareText(items_[i], ext) == 0)
        return static_cast<int>(i);
    return -1;
}

int TFileExtList::Add(std::string_view ext)
{
    const std::size_t i = LowerBound(ext);
    if (i == items_.size() || TReserveWordList::CompareText(items_[i], ext) != 0)
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(i), std::string(ext));
    return static_cast<int>(i);
}

void TFileExtList::Delete(int index)
{
    Strings(index);  // range check
    items_.erase(items_.begin() + index);
}

void TFileExtList::Assign(const std::vector<std::string>& exts)
{
    std::vector<std::string> sorted(exts);
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return TReserveWordList::CompareText(a, b) < 0;
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const std::string& a, const std::string& b) {
                                 return TReserveWordList::CompareText(a, b) == 0;
                             }),
                 sorted.end());
    items_ = std::move(sorted);
}
