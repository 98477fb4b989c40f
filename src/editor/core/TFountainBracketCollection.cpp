#include "editor/core/TFountainBracketCollection.h"

#include <stdexcept>

TFountainBracketItem& TFountainBracketCollection::Items(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("TFountainBracketCollection: index out of range");
    return *items_[static_cast<size_t>(index)];
}

const TFountainBracketItem& TFountainBracketCollection::Items(int index) const
{
    return const_cast<TFountainBracketCollection*>(this)->Items(index);
}

TFountainBracketItem& TFountainBracketCollection::Add()
{
    if (Count() >= MaxItems)
        throw std::length_error(FullMessage);
    items_.push_back(std::make_unique<TFountainBracketItem>());
    TFountainBracketItem& item = *items_.back();
    item.OnChange = [this] { Changed(); };
    Changed();
    return item;
}

TFountainBracketItem& TFountainBracketCollection::Add(const std::string& left, const std::string& right,
                                                      const TFountainColor& color)
{
    BeginUpdate();
    try {
        TFountainBracketItem& item = Add();
        item.SetLeftBracket(left);
        item.SetRightBracket(right);
        item.ItemColor.Assign(color);
        EndUpdate();
        return item;
    } catch (...) {
        EndUpdate();
        throw;
    }
}

void TFountainBracketCollection::Delete(int index)
{
    Items(index);  // range check
    items_.erase(items_.begin() + index);
    Changed();
}

void TFountainBracketCollection::Clear()
{
    if (items_.empty())
        return;
    items_.clear();
    Changed();
}

void TFountainBracketCollection::Assign(const TFountainBracketCollection& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    items_.clear();
    changedInUpdate_ = true;
    for (const auto& item : source.items_)
        Add().Assign(*item);
    EndUpdate();
}

void TFountainBracketCollection::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        if (OnChange)
            OnChange();
    }
}

void TFountainBracketCollection::Changed()
{
    if (updateCount_ > 0) {
        changedInUpdate_ = true;
        return;
    }
    if (OnChange)
        OnChange();
}
