#pragma once
#include <functional>

#include "editor/core/TFountainColor.h"

// The colour of one token class of the editor's colouring scheme.
using TEditorColor = TFountainColor;

// One colour per token class. Reserve is the scheme's reserved-word colour.
// Everything starts without colours of its own, except Select: white on navy.
// A change of any colour calls OnChange once.
class TEditorColors {
public:
    TEditorColors();
    TEditorColors(const TEditorColors&) = delete;
    TEditorColors& operator=(const TEditorColors&) = delete;

    std::function<void()> OnChange;

    TEditorColor Ank;
    TEditorColor Comment;
    TEditorColor DBCS;
    TEditorColor Hit;
    TEditorColor Int;
    TEditorColor Mail;
    TEditorColor Reserve;
    TEditorColor Select;
    TEditorColor Str;
    TEditorColor Symbol;
    TEditorColor Url;

    static constexpr int ColorCount = 11;
    // The colours in the order above.
    TEditorColor& Item(int index) { return *Members()[index]; }
    const TEditorColor& Item(int index) const { return *const_cast<TEditorColors*>(this)->Members()[index]; }

    // Copies all eleven colours; notifies once when anything differed.
    void Assign(const TEditorColors& source);
    // Whether any colour is drawn in italics.
    bool HasItalicStyle() const;

private:
    using MemberArray = TEditorColor* [ColorCount];
    const MemberArray& Members();
    void ColorChanged();

    MemberArray members_;
    bool assigning_ = false;
    bool changedWhileAssigning_ = false;
};
