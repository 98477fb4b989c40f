#pragma once
#include <QKeySequence>
#include <QPoint>

#include <functional>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class TEditor;

// The editor's own context menu: bookmarks 0..9 (set and jump), undo and
// redo, the clipboard commands, select all and box mode. Its shortcuts work
// while the editor has focus, whether the menu is open or not, unless the
// editor has been given a pop-up menu of its own (TEditor::SetPopupMenu).
class TEditorPopupMenu {
public:
    explicit TEditorPopupMenu(TEditor& editor);
    ~TEditorPopupMenu();
    TEditorPopupMenu(const TEditorPopupMenu&) = delete;
    TEditorPopupMenu& operator=(const TEditorPopupMenu&) = delete;

    QMenu* Menu() const { return menu_; }
    // Enables and ticks the items for the editor's present state, as each
    // opening of the menu does.
    void Refresh();
    void Popup(const QPoint& globalPos);

    // Whether the key is one of the menu's shortcuts; RunShortcut also runs
    // its item when that item is enabled.
    bool MatchesShortcut(const QKeyEvent* event) const;
    bool MatchesShortcut(QKeyCombination key) const;
    bool RunShortcut(const QKeyEvent* event);

    // The items, for tests and the accessibility layer.
    QAction* MarkSetItem(int mark) const { return markSet_[static_cast<size_t>(mark)]; }
    QAction* MarkJumpItem(int mark) const { return markJump_[static_cast<size_t>(mark)]; }
    QAction* UndoItem() const { return undo_; }
    QAction* RedoItem() const { return redo_; }
    QAction* CutItem() const { return cut_; }
    QAction* CopyItem() const { return copy_; }
    QAction* PasteItem() const { return paste_; }
    QAction* BoxPasteItem() const { return boxPaste_; }
    QAction* DeleteItem() const { return delete_; }
    QAction* SelectAllItem() const { return selectAll_; }
    QAction* BoxModeItem() const { return boxMode_; }

private:
    QAction* Add(QMenu* menu, const QString& caption, const QKeySequence& shortcut, std::function<void()> run);
    QAction* Find(const QKeyEvent* event) const;

    TEditor& editor_;
    QMenu* menu_;
    std::vector<QAction*> markSet_;
    std::vector<QAction*> markJump_;
    QAction* undo_;
    QAction* redo_;
    QAction* cut_;
    QAction* copy_;
    QAction* paste_;
    QAction* boxPaste_;
    QAction* delete_;
    QAction* selectAll_;
    QAction* boxMode_;
    std::vector<QAction*> all_;
};
