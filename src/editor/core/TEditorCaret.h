#pragma once
#include "editor/core/TChangeNotifier.h"

enum TEditorCaretStyle { csDefault, csBrief };
enum TEditorSelDragMode { dmManual, dmAutomatic };

// The caret's rules: where it may stand, how keys move it and how Enter,
// TAB and BackSpace treat indentation. Every change notifies the editor,
// which rebuilds its caret.
class TEditorCaret : public TChangeNotifier {
public:
    bool AutoCursor() const { return autoCursor_; }
    bool AutoIndent() const { return autoIndent_; }
    bool BackSpaceUnIndent() const { return backSpaceUnIndent_; }
    bool FreeCaret() const { return freeCaret_; }
    bool FreeRow() const { return freeRow_; }
    bool InTab() const { return inTab_; }
    bool KeepCaret() const { return keepCaret_; }
    bool LockScroll() const { return lockScroll_; }
    bool NextLine() const { return nextLine_; }
    bool PrevSpaceIndent() const { return prevSpaceIndent_; }
    bool RowSelect() const { return rowSelect_; }
    TEditorSelDragMode SelDragMode() const { return selDragMode_; }
    bool SelMove() const { return selMove_; }
    bool SoftTab() const { return softTab_; }
    TEditorCaretStyle Style() const { return style_; }
    bool TabIndent() const { return tabIndent_; }
    int TabSpaceCount() const { return tabSpaceCount_; }

    void SetAutoCursor(bool v) { Set(autoCursor_, v); }
    void SetAutoIndent(bool v) { Set(autoIndent_, v); }
    void SetBackSpaceUnIndent(bool v) { Set(backSpaceUnIndent_, v); }
    void SetFreeCaret(bool v) { Set(freeCaret_, v); }
    void SetFreeRow(bool v) { Set(freeRow_, v); }
    void SetInTab(bool v) { Set(inTab_, v); }
    void SetKeepCaret(bool v) { Set(keepCaret_, v); }
    void SetLockScroll(bool v) { Set(lockScroll_, v); }
    void SetNextLine(bool v) { Set(nextLine_, v); }
    void SetPrevSpaceIndent(bool v) { Set(prevSpaceIndent_, v); }
    void SetRowSelect(bool v) { Set(rowSelect_, v); }
    void SetSelDragMode(TEditorSelDragMode v) { Set(selDragMode_, v); }
    void SetSelMove(bool v) { Set(selMove_, v); }
    void SetSoftTab(bool v) { Set(softTab_, v); }
    void SetStyle(TEditorCaretStyle v) { Set(style_, v); }
    void SetTabIndent(bool v) { Set(tabIndent_, v); }
    // At least 1.
    void SetTabSpaceCount(int v) { Set(tabSpaceCount_, v < 1 ? 1 : v); }

    // Copies every property, notifying once when anything changed.
    void Assign(const TEditorCaret& source);

private:
    bool autoCursor_ = true;
    bool autoIndent_ = true;
    bool backSpaceUnIndent_ = true;
    bool freeCaret_ = true;
    bool freeRow_ = false;
    bool inTab_ = false;
    bool keepCaret_ = false;
    bool lockScroll_ = false;
    bool nextLine_ = false;
    bool prevSpaceIndent_ = false;
    bool rowSelect_ = true;
    TEditorSelDragMode selDragMode_ = dmAutomatic;
    bool selMove_ = true;
    bool softTab_ = false;
    TEditorCaretStyle style_ = csDefault;
    bool tabIndent_ = false;
    int tabSpaceCount_ = 8;
};
