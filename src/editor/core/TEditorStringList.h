#pragma once
#include "editor/core/TRowAttributeStringList.h"

// The scratch list into which text is broken into rows before the rows are
// put into a document.
class TEditorStringList : public TRowAttributeStringList {
    friend class TEditorScreenStrings;
    friend class TEditorUndoObj;
};
