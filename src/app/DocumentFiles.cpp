#include "app/DocumentFiles.h"

#include <QAction>
#include <QByteArray>
#include <QMenu>
#include <QUrl>
#include <QWidget>

#include <cerrno>
#include <exception>
#include <new>
#include <stdexcept>

#include "app/DocumentOpenNotice.h"
#include "app/DocumentPath.h"
#include "app/DocumentPrompts.h"
#include "editor/TEditor.h"
#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TextFileLoad.h"
#include "platform/PathDisplay.h"

namespace {

const char* const kCannotOpen = "ファイル \"%1\". %2 は開けません";
const char* const kCannotCreate = "ファイル \"%1\". %2 を作成できません";

QString Display(const std::string& path) { return QString::fromStdString(DisplayPathText(path)); }

// The reason the user reads: EFileError carries it apart from the path; the
// library's own exceptions have English texts and get the Japanese ones.
std::string ReasonOf(const std::exception& error)
{
    if (const auto* file = dynamic_cast<const EFileError*>(&error))
        return file->Reason;
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return SystemErrorText(ENOMEM);
    if (dynamic_cast<const std::length_error*>(&error))
        return TextFileTooLargeText;
    return error.what();
}

// A history caption shows the path as it is: no accelerator.
QString HistoryCaption(const std::string& path)
{
    QString caption = Display(path);
    caption.replace(u'&', QStringLiteral("&&"));
    return caption;
}

// The path an item stands for: its data holds the bytes.
std::string HistoryPath(const QAction* item) { return item->data().toByteArray().toStdString(); }

}  // namespace

const QString DocumentFiles::kTitle = QStringLiteral("Scrivlet");

DocumentFiles::DocumentFiles(TEditor& editor, DocumentPrompts& prompts, QWidget* window, QMenu* reOpen,
                             QObject* parent)
    : QObject(parent), editor_(editor), prompts_(prompts), window_(window), reOpen_(reOpen)
{
    if (!reOpen_) {
        ownMenu_ = std::make_unique<QMenu>();
        reOpen_ = ownMenu_.get();
    }
    reOpen_->setEnabled(!reOpen_->actions().isEmpty());
}

DocumentFiles::~DocumentFiles() = default;

// --- the three operations ------------------------------------------------------------

bool DocumentFiles::OpenDocument(const std::string& path)
{
    DocumentFile file;
    try {
        // Reading the file through first means a file that cannot be read
        // leaves the editor and the current document as they were.
        file = DocumentFile::Inspect(path);
    } catch (const std::exception& error) {
        ShowFileError(kCannotOpen, path, ReasonOf(error));
        return false;
    }
    try {
        file.LoadText(path, editor_.Lines());
    } catch (const std::exception& error) {
        // The file changed or vanished since: the editor was emptied, so the
        // document no longer stands for any file. Untitled, a later save
        // cannot write the empty text over it.
        currentFileName_.clear();
        file_ = DocumentFile();
        SetTitle(std::string());
        editor_.viewport()->update();
        editor_.Core().SetModified(false);
        ShowFileError(kCannotOpen, path, ReasonOf(error));
        return false;
    }
    currentFileName_ = path;
    file_ = std::move(file);
    AddHistory(path);
    SetTitle(path);
    editor_.viewport()->update();
    editor_.Core().SetModified(false);
    emit RefreshOutline();
    emit BuildFileTree();
    const std::string notice = DocumentOpenNotice(file_);
    if (!notice.empty())
        prompts_.ShowNotice(QString::fromStdString(notice));
    return true;
}

bool DocumentFiles::SaveDocument(const std::string& path)
{
    // Nothing to write to: clearing Modified here would let the next
    // question skip unsaved text.
    if (path.empty())
        return false;
    try {
        file_.Save(path, editor_.Lines().GetTextStr());
    } catch (const std::exception& error) {
        // The file on disk is as it was; so are the name and Modified.
        ShowFileError(kCannotCreate, path, ReasonOf(error));
        return false;
    }
    currentFileName_ = path;
    AddHistory(path);
    SetTitle(path);
    editor_.viewport()->update();
    editor_.Core().SetModified(false);
    emit RefreshOutline();
    return true;
}

void DocumentFiles::AddHistory(const std::string& path)
{
    for (QAction* item : reOpen_->actions()) {
        if (DocumentPath::Same(HistoryPath(item), path))
            RemoveHistoryItem(item);
    }
    if (!path.empty()) {
        auto* item = new QAction(HistoryCaption(path), reOpen_);
        item->setData(QByteArray::fromStdString(path));
        connect(item, &QAction::triggered, this, [this, item] { OpenItemClick(item); });
        const QList<QAction*> items = reOpen_->actions();
        reOpen_->insertAction(items.isEmpty() ? nullptr : items.first(), item);
    }
    reOpen_->setEnabled(!reOpen_->actions().isEmpty());
}

void DocumentFiles::RemoveHistoryItem(QAction* item)
{
    reOpen_->removeAction(item);
    // It may be the item whose click is being handled.
    item->deleteLater();
}

std::vector<std::string> DocumentFiles::History() const
{
    std::vector<std::string> paths;
    for (const QAction* item : reOpen_->actions())
        paths.push_back(HistoryPath(item));
    return paths;
}

void DocumentFiles::SetHistory(const std::vector<std::string>& paths)
{
    for (QAction* item : reOpen_->actions())
        RemoveHistoryItem(item);
    for (auto it = paths.crbegin(); it != paths.crend(); ++it)
        AddHistory(*it);
    reOpen_->setEnabled(!reOpen_->actions().isEmpty());
}

// --- actions ---------------------------------------------------------------------

bool DocumentFiles::ConfirmDiscard()
{
    if (!editor_.Core().Modified())
        return true;
    switch (prompts_.AskSaveChanges()) {
    case DocumentPrompts::SaveAnswer::Yes:
        // The user asked to keep the changes: when they were not written
        // (the save dialog cancelled, or the save failed) nothing goes on.
        return FileSave1();
    case DocumentPrompts::SaveAnswer::No:
        return true;
    case DocumentPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void DocumentFiles::FileNew()
{
    if (!ConfirmDiscard())
        return;
    editor_.Lines().SetTextStr({});
    editor_.Core().SetModified(false);
    currentFileName_.clear();
    file_ = DocumentFile();
    SetTitle(std::string());
}

void DocumentFiles::FileOpen()
{
    if (!ConfirmDiscard())
        return;
    const std::string name = prompts_.GetOpenFileName(openDialogName_);
    if (name.empty())
        return;
    openDialogName_ = name;
    OpenDocument(DocumentPath::Absolute(name));
}

bool DocumentFiles::FileSave1()
{
    if (!currentFileName_.empty())
        return SaveDocument(currentFileName_);
    return FileSaveAs();
}

bool DocumentFiles::FileSaveAs()
{
    std::string name = prompts_.GetSaveFileName(saveDialogName_);
    if (name.empty())
        return false;
    // The default extension for a name typed without one.
    if (!DocumentPath::HasExtension(name))
        name += ".tex";
    saveDialogName_ = name;
    return SaveDocument(DocumentPath::Absolute(name));
}

bool DocumentFiles::FileExit()
{
    if (!ConfirmDiscard())
        return false;
    emit TerminateRequested();
    return true;
}

void DocumentFiles::OpenItemClick(QAction* item)
{
    if (!item)
        return;
    const std::string path = HistoryPath(item);
    if (!ConfirmDiscard())
        return;
    OpenDocument(path);
}

bool DocumentFiles::DropFiles(const QList<QUrl>& urls)
{
    if (urls.isEmpty())
        return false;
    const std::string path = LocalFileBytes(urls.first());
    if (path.empty() || !DocumentPath::IsTexFileName(path) || !ConfirmDiscard())
        return false;
    return OpenDocument(DocumentPath::Absolute(path));
}

bool DocumentFiles::OpenCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || !DocumentPath::IsTexFileName(arguments.front()))
        return false;
    // Made absolute now: the file tree later moves the current folder.
    return OpenDocument(DocumentPath::Absolute(arguments.front()));
}

bool DocumentFiles::OpenFileTreeNode(const std::string& nodeText)
{
    if (nodeText.empty())
        return false;
    const std::string folder = currentFileName_.empty() ? std::string() : DocumentPath::FolderOf(currentFileName_);
    return OpenWithQuestion(DocumentPath::Absolute(nodeText.front() == '/' ? nodeText : folder + nodeText));
}

bool DocumentFiles::OpenWithQuestion(const std::string& path)
{
    if (path.empty() || !ConfirmDiscard())
        return false;
    return OpenDocument(path);
}

std::string DocumentFiles::LocalFileBytes(const QUrl& url)
{
    if (!url.isLocalFile())
        return std::string();
    // QUrl::toLocalFile would decode the name as UTF-8 and lose any other
    // bytes; the fully encoded path still holds them as %HH.
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (path.isEmpty())
        return std::string();
    const QString host = url.host();
    if (!host.isEmpty())
        return "//" + host.toStdString() + path.toStdString();
    return path.toStdString();
}

QString DocumentFiles::TitleFor(const std::string& path)
{
    return path.empty() ? kTitle : kTitle + QStringLiteral(" -- ") + Display(path);
}

// --- helpers ---------------------------------------------------------------------

void DocumentFiles::SetTitle(const std::string& path)
{
    if (window_)
        window_->setWindowTitle(TitleFor(path));
}

void DocumentFiles::ShowFileError(const char* format, const std::string& path, const std::string& reason)
{
    prompts_.ShowError(QString::fromUtf8(format).arg(Display(path), QString::fromStdString(reason)));
}
