#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "build/IncludeTree.h"
#include "build/OutlineBuilder.h"

class DocumentFiles;
class OutlineItemModel;
class OutlineTreeView;
class QListView;
class QMenu;
class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TEditor;

// The side panel's three views of the document: the label list, the
// section tree (both from the text in the editor, unsaved edits included)
// and the tree of included files (from the files on disk).
//
// The label list and the section tree are rebuilt after an open, a save
// and F11, and, with the RenewTree option on, once the user pauses after a
// change: every change restarts a short wait. A rebuild reads the document
// in slices between events, so a long document never holds typing up; a
// change during a rebuild starts it over. When the result shows the same
// entries as before, only their lines are taken and the views stay as they
// are.
class DocumentOutline : public QObject {
    Q_OBJECT

public:
    // How long typing must pause before the outline follows it, and how
    // long one slice of a rebuild may run.
    static constexpr int kPauseMs = 150;
    static constexpr int kSliceMs = 4;

    // `renewTree` tells whether changes rebuild the outline; `window` owns
    // the message boxes.
    DocumentOutline(TEditor& editor, DocumentFiles& documents, QListView* labels, OutlineTreeView* sections,
                    QTreeWidget* files, std::function<bool()> renewTree, QWidget* window);
    ~DocumentOutline() override;

    // How long one slice of a rebuild may run, in milliseconds.
    int SliceMs = kSliceMs;
    // Shows the file tree's error messages (an inclusion cycle); tests
    // replace it.
    std::function<void(const QString&)> ShowError;

    // The file tree's context menu: "ファイル構造推定" and the two items
    // that have no behaviour, shown disabled.
    QMenu* PopupMenuFileTree() const { return popupMenuFileTree_; }

    // Rebuilds the label list and the section tree, starting now.
    void RefreshOutline();
    // Rebuilds the file tree for the current document.
    void BuildFileTree();
    // F11: all three.
    void RunRenewSecLabExecute();

    // The click handlers: each moves the caret to the start of the entry's
    // line and gives the editor the focus; the file tree's opens the file,
    // asking first about unsaved changes.
    void ListLabelClick(const QModelIndex& index);
    void SectionTreeDblClick(const QModelIndex& index);
    void FileTreeViewDblClick(QTreeWidgetItem* item);

    // What the views show; a rebuild under way is not in it yet.
    const OutlineEntries& Entries() const { return entries_; }
    const IncludeTree& Files() const { return files_; }
    // Whether a rebuild waits for a pause or is under way.
    bool Pending() const;
    // Runs a pending rebuild to its end and shows it at once.
    void Finish();

signals:
    // The views show a new rebuild's result.
    void Refreshed();

private:
    void EditorStatusChange();
    void StartBuild();
    void Slice();
    void PublishReady();
    void Publish(OutlineEntries entries);

    TEditor& editor_;
    DocumentFiles& documents_;
    QListView* labels_;
    OutlineItemModel* labelModel_;
    OutlineTreeView* sections_;
    QTreeWidget* filesView_;
    std::function<bool()> renewTree_;
    QWidget* window_;
    QMenu* popupMenuFileTree_;
    QTimer pause_;
    QTimer slice_;
    QTimer publish_;
    std::unique_ptr<OutlineBuilder> builder_;
    // A finished rebuild, shown in an event of its own.
    std::optional<OutlineEntries> ready_;
    OutlineEntries entries_;
    IncludeTree files_;
};
