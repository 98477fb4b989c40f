#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/core/TFountainBracketItem.h"

// The bracket pairs of a colouring scheme, in the order they are tried. A
// row's stored state has room for 14 pair indexes, so the collection holds
// at most 14 items; adding one more throws std::length_error and leaves the
// collection as it was. OnChange is called after every change, once per
// operation.
class TFountainBracketCollection {
public:
    static constexpr int MaxItems = 14;
    static constexpr const char* FullMessage = "TFountainBracketCollection\r\nYou can not add item over 14";

    TFountainBracketCollection() = default;
    virtual ~TFountainBracketCollection() = default;
    TFountainBracketCollection(const TFountainBracketCollection&) = delete;
    TFountainBracketCollection& operator=(const TFountainBracketCollection&) = delete;

    std::function<void()> OnChange;

    int Count() const { return static_cast<int>(items_.size()); }
    // Throws std::out_of_range for an index outside the collection.
    TFountainBracketItem& Items(int index);
    const TFountainBracketItem& Items(int index) const;
    TFountainBracketItem& operator[](int index) { return Items(index); }
    const TFountainBracketItem& operator[](int index) const { return Items(index); }

    TFountainBracketItem& Add();
    // Adds a pair with its texts and colour.
    TFountainBracketItem& Add(const std::string& left, const std::string& right,
                              const TFountainColor& color = TFountainColor());
    void Delete(int index);
    void Clear();
    // Clears this collection and adds copies of the source's items.
    void Assign(const TFountainBracketCollection& source);

    // Changes to items inside a block are reported once, at its end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

protected:
    void Changed();

private:
    std::vector<std::unique_ptr<TFountainBracketItem>> items_;
    int updateCount_ = 0;
    bool changedInUpdate_ = false;
};
