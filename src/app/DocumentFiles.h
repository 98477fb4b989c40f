#pragma once
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
// Paths are byte strings as the system gives them (see DocumentPath.h);
// titles, menu captions and messages show them through DisplayPathText.
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
    const std::string& CurrentFileName() const { return currentFileName_; }
    const DocumentFile& File() const { return file_; }

    // Loads the file at `path` and makes it the current document. False
    // (after reporting) when it cannot be read.
    bool OpenDocument(const std::string& path);
    // Writes the editor's text to `path` and makes it the current document.
    // False (after reporting) when it cannot be written; an empty path
    // writes nothing and changes nothing.
    bool SaveDocument(const std::string& path);
    // Puts `path` at the top of the reopen history, removing an entry for
    // the same file (DocumentPath::Same).
    void AddHistory(const std::string& path);

    // The reopen history, most recent first; SetHistory replaces it (the
    // settings give it at start and store its first five at the end).
    std::vector<std::string> History() const;
    void SetHistory(const std::vector<std::string>& paths);

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
    // The program's arguments after its own name, as the bytes the system
    // gave: the first is opened when it is a ".tex" file. True when a
    // document was opened.
    bool OpenCommandLine(const std::vector<std::string>& arguments);
    // A file of the file tree was double-clicked: `nodeText` names it in the
    // folder of the current document (or is a full path).
    bool OpenFileTreeNode(const std::string& nodeText);
    // Opens another document at `path` (absolute) after the question about
    // unsaved changes, as the file tree does. True when it was opened.
    bool OpenWithQuestion(const std::string& path);

    // The name each dialog starts with: the one last chosen in it.
    const std::string& OpenDialogName() const { return openDialogName_; }
    const std::string& SaveDialogName() const { return saveDialogName_; }

    // The path bytes of a local file's URL, taken from its percent-encoding,
    // which carries names that are not UTF-8 unchanged; empty for any other
    // URL.
    static std::string LocalFileBytes(const QUrl& url);
    // The window title for `path`.
    static QString TitleFor(const std::string& path);

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
    void SetTitle(const std::string& path);
    void ShowFileError(const char* format, const std::string& path, const std::string& reason);
    void RemoveHistoryItem(QAction* item);

    TEditor& editor_;
    DocumentPrompts& prompts_;
    QWidget* window_;
    QMenu* reOpen_;
    std::unique_ptr<QMenu> ownMenu_;
    std::string currentFileName_;
    DocumentFile file_;
    std::string openDialogName_;
    std::string saveDialogName_;
};
