#include "editor/core/TEditorColors.h"

TEditorColors::TEditorColors()
    : Select(clNavy, clWhite),
      members_{&Ank, &Comment, &DBCS, &Hit, &Int, &Mail, &Reserve, &Select, &Str, &Symbol, &Url}
{
    for (TEditorColor* c : members_)
        c->OnChange = [this] { ColorChanged(); };
}

const TEditorColors::MemberArray& TEditorColors::Members() { return members_; }

void TEditorColors::ColorChanged()
{
    if (assigning_) {
        changedWhileAssigning_ = true;
        return;
    }
    if (OnChange)
        OnChange();
}

void TEditorColors::Assign(const TEditorColors& source)
{
    if (&source == this)
        return;
    assigning_ = true;
    changedWhileAssigning_ = false;
    for (int i = 0; i < ColorCount; ++i)
        Item(i).Assign(source.Item(i));
    assigning_ = false;
    if (changedWhileAssigning_)
        ColorChanged();
}

bool TEditorColors::HasItalicStyle() const
{
    for (int i = 0; i < ColorCount; ++i)
        if (HasStyle(Item(i).Style(), fsItalic))
            return true;
    return false;
}
