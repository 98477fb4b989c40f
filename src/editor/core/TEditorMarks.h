#pragma once
#include "editor/core/TChangeNotifier.h"
#include "editor/core/TColor.h"

#include <initializer_list>
#include <utility>

// One end-of-row mark (or the caret-row underline): its colour and whether
// it is drawn. A change notifies the owning TEditorMarks.
class TEditorMark : public TChangeNotifier {
public:
    TColor Color() const { return color_; }
    bool Visible() const { return visible_; }
    void SetColor(TColor v) { Set(color_, v); }
    void SetVisible(bool v) { Set(visible_, v); }

    bool operator==(const TEditorMark& other) const
    {
        return color_ == other.color_ && visible_ == other.visible_;
    }
    // Copies both properties, notifying once when either changed.
    void Assign(const TEditorMark& source)
    {
        if (*this == source)
            return;
        color_ = source.color_;
        visible_ = source.visible_;
        Changed();
    }

private:
    TColor color_ = clGray;
    bool visible_ = false;
};

// The marks drawn after rows, and the caret-row underline, whose visibility
// reserves one pixel row in every row's height.
class TEditorMarks : public TChangeNotifier {
public:
    TEditorMarks()
    {
        for (TEditorMark* m : {&EofMark, &RetMark, &WrapMark, &HideMark, &Underline})
            m->OnChange = [this] { Changed(); };
    }
    TEditorMarks(const TEditorMarks&) = delete;
    TEditorMarks& operator=(const TEditorMarks&) = delete;

    // Copies all five marks, notifying once when any of them changed.
    void Assign(const TEditorMarks& source)
    {
        if (&source == this)
            return;
        const bool changed = !(EofMark == source.EofMark && RetMark == source.RetMark &&
                               WrapMark == source.WrapMark && HideMark == source.HideMark &&
                               Underline == source.Underline);
        if (!changed)
            return;
        auto notify = std::move(OnChange);
        OnChange = nullptr;
        EofMark.Assign(source.EofMark);
        RetMark.Assign(source.RetMark);
        WrapMark.Assign(source.WrapMark);
        HideMark.Assign(source.HideMark);
        Underline.Assign(source.Underline);
        OnChange = std::move(notify);
        Changed();
    }

    TEditorMark EofMark;
    TEditorMark RetMark;
    TEditorMark WrapMark;
    TEditorMark HideMark;
    TEditorMark Underline;
};
