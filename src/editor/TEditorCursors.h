#pragma once
#include <QCursor>

#include "editor/BuiltinImages.h"

// The mouse cursor of each area of the editor, used while the cursor
// follows the pointer (Caret.AutoCursor).
struct TEditorCursors {
    QCursor DefaultCursor{Qt::IBeamCursor};
    QCursor InSelCursor{Qt::ArrowCursor};
    QCursor LeftMarginCursor = BuiltinImages::RightArrowCursor();
    QCursor TopMarginCursor{Qt::ArrowCursor};
    QCursor DragSelCursor = BuiltinImages::DragSelCursor();
    QCursor DragSelCopyCursor = BuiltinImages::DragSelCopyCursor();
};
