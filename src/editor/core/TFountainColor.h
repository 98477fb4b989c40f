#pragma once
#include "editor/core/TChangeNotifier.h"
#include <functional>

#include "editor/core/TColor.h"
#include "editor/core/TFontStyles.h"

// The colours and font style one kind of text is drawn with. clNone means
// the control's own background or font colour. Every change that alters a
// value calls OnChange, which the owner points at its own change handler.
class TFountainColor : public TChangeNotifier {
public:
    TFountainColor() = default;
    TFountainColor(TColor bkColor, TColor color, TFontStyles style = TFontStyles{})
        : bkColor_(bkColor), color_(color), style_(style)
    {
    }
    // A copy carries the values, not the owner's handler.
    TFountainColor(const TFountainColor& other)
        : bkColor_(other.bkColor_), color_(other.color_), style_(other.style_)
    {
    }
    TFountainColor& operator=(const TFountainColor& other)
    {
        Assign(other);
        return *this;
    }


    TColor BkColor() const { return bkColor_; }
    TColor Color() const { return color_; }
    TFontStyles Style() const { return style_; }
    void SetBkColor(TColor value) { Set(bkColor_, value); }
    void SetColor(TColor value) { Set(color_, value); }
    void SetStyle(TFontStyles value) { Set(style_, value); }

    // Copies all three values and notifies once when any of them differed.
    void Assign(const TFountainColor& source)
    {
        if (SameValues(source))
            return;
        bkColor_ = source.bkColor_;
        color_ = source.color_;
        style_ = source.style_;
        Changed();
    }

    bool SameValues(const TFountainColor& other) const
    {
        return bkColor_ == other.bkColor_ && color_ == other.color_ && style_ == other.style_;
    }
    bool operator==(const TFountainColor& other) const { return SameValues(other); }

private:
    TColor bkColor_ = clNone;
    TColor color_ = clNone;
    TFontStyles style_ = TFontStyles{};
};
