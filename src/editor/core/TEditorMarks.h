#pragma once
#include "editor/core/TChangeNotifier.h"
#include "editor/core/TColor.h"

#include <initializer_list>

// One end-of-row mark (or the caret-row underline): its colour and whether
// it is drawn. A change notifies the owning TEditorMarks.
class TEditorMark : public TChangeNotifier {
public:
    TColor Color() const { return color_; }
    bool Visible() const { return visible_; }
    void SetColor(TColor v) { Set(color_, v); }
    void SetVisible(bool v) { Set(visible_, v); }

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

    TEditorMark EofMark;
    TEditorMark RetMark;
    TEditorMark WrapMark;
    TEditorMark HideMark;
    TEditorMark Underline;
};
