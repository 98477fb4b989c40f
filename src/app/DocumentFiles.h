#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

#include "app/DocumentFile.h"

class DocumentPrompts;
class QAction;
class QMenu;
class QUrl;
class QWidget;
class TEditor;

// The document's file lifecycle, owned by the main window: new, open (by
// dialog, from the reopen history, by a drop, from the command line, from the
// file tree), save, save as and quit; the question about unsaved changes that
// guards them; the window title; and the reopen history in `ReOpen`.
//
// Failures are reported through the prompts and end only the operation under
// way: a file that cannot be read leaves the editor and the current document
// as they were; a file that cannot be written leaves the file on disk, the
// current name and the Modified flag as they were.
class DocumentFiles : public QObject {
    Q_OBJECT

public:
    // `window` gets the title (may be null); `reOpen` is the history
    // submenu (null: a menu of its own, not shown).
    DocumentFiles(TEditor& editor, DocumentPrompts& prompts, QWidget* window, QMenu* reOpen,
                  QObject* parent = nullptr);
    ~DocumentFiles() override;

    // Full path of the document; empty for an untitled one.
    const QString& CurrentFileName() const { return currentFileName_; }
    const DocumentFile& File() const { return file_; }

    // Loads the file at `path` and makes it the current document. False
    // (after reporting) when it cannot be read.
    bool OpenDocument(const QString& path);
    // Writes the editor's text to `path` and makes it the current document.
    // False (after reporting) when it cannot be written; an empty path
    // writes nothing and changes nothing.
    bool SaveDocument(const QString& path);
    // Puts `path` at the top of the reopen history, removing an equal entry.
    void AddHistory(const QString& path);

    // The reopen history, most recent first; SetHistory replaces it (the
    // settings give it at start and store its first five at the end).
    QStringList History() const;
    void SetHistory(const QStringList& paths);

    // --- actions and handlers ---
    void FileNew();
    void FileOpen();
    // True when the document was written.
    bool FileSave1();
    bool FileSaveAs();
    // True when the user did not cancel and the program is to end.
    bool FileExit();
    // A reopen history item was clicked.
    void OpenItemClick(QAction* item);
    // Files dropped on the main window: the first one is opened when it is a
    // ".tex" file; the rest are ignored. True when a document was opened.
    bool DropFiles(const QList<QUrl>& urls);
    // The program's arguments after its own name: the first is opened when
    // it is a ".tex" file. True when a document was opened.
    bool OpenCommandLine(const QStringList& arguments);
    // A file of the file tree was double-clicked: `nodeText` names it in the
    // folder of the current document.
    bool OpenFileTreeNode(const QString& nodeText);

    // The name each dialog starts with: the one last chosen in it.
    const QString& OpenDialogName() const { return openDialogName_; }
    const QString& SaveDialogName() const { return saveDialogName_; }

    // Whether the last four characters, in lower case, are ".tex".
    static bool IsTexFileName(const QString& path);

    static const QString kTitle;  // "Scrivlet"

signals:
    // After an open or a save: rebuild the label list and the section tree.
    void RefreshOutline();
    // After an open: rebuild the file tree (it also sets the current folder).
    void BuildFileTree();
    // FileExit went ahead: the application is to terminate.
    void TerminateRequested();

private:
    // The save question, when the text was modified. True when the
    // operation may go on.
    bool ConfirmDiscard();
    void SetTitle(const QString& path);
    void ShowFileError(const char* format, const QString& path, const std::string& reason);
    void RemoveHistoryItem(QAction* item);

    TEditor& editor_;
    DocumentPrompts& prompts_;
    QWidget* window_;
    QMenu* reOpen_;
    std::unique_ptr<QMenu> ownMenu_;
    QString currentFileName_;
    DocumentFile file_;
    QString openDialogName_;
    QString saveDialogName_;
};
