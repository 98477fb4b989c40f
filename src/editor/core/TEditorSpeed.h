#pragma once
#include <algorithm>

#include "editor/core/TChangeNotifier.h"

// How far the caret and the page move on auto-repeated keys. The three
// range factors are 1..4.
class TEditorSpeed : public TChangeNotifier {
public:
    int CaretVerticalAc() const { return caretVerticalAc_; }
    int PageVerticalRange() const { return pageVerticalRange_; }
    int PageVerticalRangeAc() const { return pageVerticalRangeAc_; }
    bool InitBracketsFull() const { return initBracketsFull_; }

    void SetCaretVerticalAc(int v) { Set(caretVerticalAc_, Range(v)); }
    void SetPageVerticalRange(int v) { Set(pageVerticalRange_, Range(v)); }
    void SetPageVerticalRangeAc(int v) { Set(pageVerticalRangeAc_, Range(v)); }
    void SetInitBracketsFull(bool v) { Set(initBracketsFull_, v); }

    void Assign(const TEditorSpeed& source)
    {
        const auto notify = OnChange;
        OnChange = nullptr;
        const bool changed = caretVerticalAc_ != source.caretVerticalAc_
            || pageVerticalRange_ != source.pageVerticalRange_
            || pageVerticalRangeAc_ != source.pageVerticalRangeAc_
            || initBracketsFull_ != source.initBracketsFull_;
        caretVerticalAc_ = source.caretVerticalAc_;
        pageVerticalRange_ = source.pageVerticalRange_;
        pageVerticalRangeAc_ = source.pageVerticalRangeAc_;
        initBracketsFull_ = source.initBracketsFull_;
        OnChange = notify;
        if (changed)
            Changed();
    }

private:
    static int Range(int v) { return std::clamp(v, 1, 4); }

    int caretVerticalAc_ = 2;
    int pageVerticalRange_ = 2;
    int pageVerticalRangeAc_ = 2;
    bool initBracketsFull_ = false;
};
