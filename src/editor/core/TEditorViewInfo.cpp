#include "editor/core/TEditorViewInfo.h"

TEditorViewInfo::TEditorViewInfo()
{
    fountain_.NotifyEventList().Add(this, [this](TFountain&) {
        if (OnChange)
            OnChange();
    });
}

TEditorViewInfo::~TEditorViewInfo() { fountain_.NotifyEventList().Remove(this); }
