#pragma once
#include "editor/core/TChangeNotifier.h"
#include <functional>
#include <string>

#include "editor/core/TFountainColor.h"

// A bracket pair whose region, from LeftBracket through RightBracket, is
// drawn in ItemColor and may span rows. An empty RightBracket makes the
// pair inert: it never opens a region.
class TFountainBracketItem : public TChangeNotifier {
public:
    TFountainBracketItem() { ItemColor.OnChange = [this] { Changed(); }; }
    TFountainBracketItem(const TFountainBracketItem&) = delete;
    TFountainBracketItem& operator=(const TFountainBracketItem&) = delete;

    // Called after every change of the item; the collection sets it.

    TFountainColor ItemColor;

    const std::string& LeftBracket() const { return leftBracket_; }
    const std::string& RightBracket() const { return rightBracket_; }
    void SetLeftBracket(const std::string& value) { Set(leftBracket_, value); }
    void SetRightBracket(const std::string& value) { Set(rightBracket_, value); }

    // Whether the pair can open a region at all.
    bool Active() const { return !leftBracket_.empty() && !rightBracket_.empty(); }

    void Assign(const TFountainBracketItem& source)
    {
        if (&source == this)
            return;
        auto handler = std::move(OnChange);
        OnChange = nullptr;
        leftBracket_ = source.leftBracket_;
        rightBracket_ = source.rightBracket_;
        ItemColor.Assign(source.ItemColor);
        OnChange = std::move(handler);
        Changed();
    }

private:
    std::string leftBracket_;
    std::string rightBracket_;
};
