#include "editor/core/TEditorBracketCollection.h"

void TEditorBracketCollection::SetAllBkColor(TColor value)
{
    BeginUpdate();
    for (int i = 0; i < Count(); ++i)
        Items(i).ItemColor.SetBkColor(value);
    EndUpdate();
}

void TEditorBracketCollection::SetAllColor(TColor value)
{
    BeginUpdate();
    for (int i = 0; i < Count(); ++i)
        Items(i).ItemColor.SetColor(value);
    EndUpdate();
}

void TEditorBracketCollection::SetAllStyle(TFontStyles value)
{
    BeginUpdate();
    for (int i = 0; i < Count(); ++i)
        Items(i).ItemColor.SetStyle(value);
    EndUpdate();
}
