#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The reserved words of a colouring scheme: kept sorted, a word that is
// already present (in any case) is not added again, and lookup ignores
// case. Case folding touches only single-byte ASCII letters; the bytes of a
// double-byte character (whose second byte may look like a letter) are
// compared as they are. OnChange is called after every change.
class TReserveWordList {
public:
    std::function<void()> OnChange;

    int Count() const { return static_cast<int>(words_.size()); }
    const std::string& Strings(int index) const;
    const std::vector<std::string>& Words() const { return words_; }

    // Returns the word's index; an existing entry's index when it is there.
    int Add(std::string_view word);
    void Delete(int index);
    void Clear();
    // Replaces the list by `words` (sorted, duplicates dropped); one notification.
    void Assign(const std::vector<std::string>& words);
    void Assign(const TReserveWordList& source) { Assign(source.words_); }

    // The index of `word` regardless of case, or -1.
    int IndexOf(std::string_view word) const;
    bool Contains(std::string_view word) const;

    // Compares with ASCII letters folded, double-byte characters as they are.
    static int CompareText(std::string_view a, std::string_view b);

private:
    // Position of the first entry not less than `word`.
    std::size_t LowerBound(std::string_view word) const;
    void UpdateLengths();
    void Changed();

    std::vector<std::string> words_;
    std::size_t minLength_ = 0;
    std::size_t maxLength_ = 0;
};
