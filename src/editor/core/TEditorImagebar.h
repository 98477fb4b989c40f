#pragma once
#include <tuple>

#include "editor/core/TChangeNotifier.h"

// The strip left of the text that shows row-mark images. Only its geometry
// lives here.
class TEditorImagebar : public TChangeNotifier {
public:
    bool Visible() const { return visible_; }
    int LeftMargin() const { return leftMargin_; }
    int DigitWidth() const { return digitWidth_; }  // cell for mark images 0..9
    int MarkWidth() const { return markWidth_; }    // cell for mark images 10..15
    int RightMargin() const { return rightMargin_; }

    void SetVisible(bool v) { Set(visible_, v); }
    void SetLeftMargin(int v) { Set(leftMargin_, v); }
    void SetDigitWidth(int v) { Set(digitWidth_, v); }
    void SetMarkWidth(int v) { Set(markWidth_, v); }
    void SetRightMargin(int v) { Set(rightMargin_, v); }

    // Pixels it takes: 0 when hidden.
    int Width() const { return visible_ ? leftMargin_ + digitWidth_ + markWidth_ + rightMargin_ : 0; }

    // Copies every property, notifying once when anything changed.
    void Assign(const TEditorImagebar& source);

private:
    auto Fields() { return std::tie(visible_, leftMargin_, digitWidth_, markWidth_, rightMargin_); }
    auto Fields() const { return std::tie(visible_, leftMargin_, digitWidth_, markWidth_, rightMargin_); }

    bool visible_ = true;
    int leftMargin_ = 2;
    int digitWidth_ = 8;
    int markWidth_ = 0;
    int rightMargin_ = 2;
};

inline void TEditorImagebar::Assign(const TEditorImagebar& source)
{
    if (Fields() == source.Fields())
        return;
    Fields() = source.Fields();
    Changed();
}
