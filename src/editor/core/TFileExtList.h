#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// File extensions (".tex"): kept sorted, an extension that is already
// present in any case is not added again, and lookup ignores the case of
// ASCII letters (as TReserveWordList compares).
class TFileExtList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws std::out_of_range for an index outside the list.
    const std::string& Strings(int index) const;
    const std::vector<std::string>& Items() const { return items_; }

    // Returns the extension's index; an existing entry's index when it is there.
    int Add(std::string_view ext);
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Replaces the list by copies of `exts` (sorted, duplicates dropped).
    void Assign(const std::vector<std::string>& exts);
    void Assign(const TFileExtList& source) { items_ = source.items_; }

    // The index of `ext` regardless of case, or -1; a binary search.
    int IndexOf(std::string_view ext) const;
    bool Contains(std::string_view ext) const { return IndexOf(ext) >= 0; }

    bool operator==(const TFileExtList&) const = default;

private:
    std::size_t LowerBound(std::string_view ext) const;

    std::vector<std::string> items_;
};
