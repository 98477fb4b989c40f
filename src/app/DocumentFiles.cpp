#include "app/DocumentFiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <QWidget>

#include <exception>

#include "app/DocumentOpenNotice.h"
#include "app/DocumentPrompts.h"
#include "editor/TEditor.h"
#include "editor/core/EFileError.h"

namespace {

const char* const kCannotOpen = "ファイル \"%1\". %2 は開けません";
const char* const kCannotCreate = "ファイル \"%1\". %2 を作成できません";

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The system's reason from an error: EFileError carries it apart from the path.
std::string ReasonOf(const std::exception& error)
{
    if (const auto* file = dynamic_cast<const EFileError*>(&error))
        return file->Reason;
    return error.what();
}

// A history caption shows the path as it is: no accelerator.
QString HistoryCaption(const QString& path)
{
    QString caption = path;
    caption.replace(u'&', QStringLiteral("&&"));
    return caption;
}

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

bool DocumentFiles::OpenDocument(const QString& path)
{
    const std::string native = NativePath(path);
    DocumentFile file;
    try {
        // Reading the file through first means a file that cannot be read
        // leaves the editor and the current document as they were.
        file = DocumentFile::Inspect(native);
    } catch (const std::exception& error) {
        ShowFileError(kCannotOpen, path, ReasonOf(error));
        return false;
    }
    try {
        file.LoadText(native, editor_.Lines());
    } catch (const std::exception& error) {
        // The file changed or vanished since: the editor was emptied, so the
        // document no longer stands for any file. Untitled, a later save
        // cannot write the empty text over it.
        currentFileName_.clear();
        file_ = DocumentFile();
        SetTitle(QString());
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

bool DocumentFiles::SaveDocument(const QString& path)
{
    // Nothing to write to: clearing Modified here would let the next
    // question skip unsaved text.
    if (path.isEmpty())
        return false;
    try {
        file_.Save(NativePath(path), editor_.Lines().GetTextStr());
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

void DocumentFiles::AddHistory(const QString& path)
{
    // File names differ by case here: a.tex and A.TEX are two files.
    for (QAction* item : reOpen_->actions()) {
        if (item->data().toString() == path)
            RemoveHistoryItem(item);
    }
    if (!path.isEmpty()) {
        auto* item = new QAction(HistoryCaption(path), reOpen_);
        item->setData(path);
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

QStringList DocumentFiles::History() const
{
    QStringList paths;
    for (const QAction* item : reOpen_->actions())
        paths.append(item->data().toString());
    return paths;
}

void DocumentFiles::SetHistory(const QStringList& paths)
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
    SetTitle(QString());
}

void DocumentFiles::FileOpen()
{
    if (!ConfirmDiscard())
        return;
    const QString name = prompts_.GetOpenFileName(openDialogName_);
    if (name.isEmpty())
        return;
    openDialogName_ = name;
    OpenDocument(QFileInfo(name).absoluteFilePath());
}

bool DocumentFiles::FileSave1()
{
    if (!currentFileName_.isEmpty())
        return SaveDocument(currentFileName_);
    return FileSaveAs();
}

bool DocumentFiles::FileSaveAs()
{
    QString name = prompts_.GetSaveFileName(saveDialogName_);
    if (name.isEmpty())
        return false;
    // The default extension for a name typed without one.
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".tex");
    saveDialogName_ = name;
    return SaveDocument(QFileInfo(name).absoluteFilePath());
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
    const QString path = item->data().toString();
    if (!ConfirmDiscard())
        return;
    OpenDocument(path);
}

bool DocumentFiles::DropFiles(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return false;
    const QString path = urls.first().toLocalFile();
    if (!IsTexFileName(path) || !ConfirmDiscard())
        return false;
    return OpenDocument(QFileInfo(path).absoluteFilePath());
}

bool DocumentFiles::OpenCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty() || !IsTexFileName(arguments.first()))
        return false;
    // Made absolute now: the file tree later moves the current folder.
    return OpenDocument(QFileInfo(arguments.first()).absoluteFilePath());
}

bool DocumentFiles::OpenFileTreeNode(const QString& nodeText)
{
    if (nodeText.isEmpty())
        return false;
    const QString folder =
        currentFileName_.isEmpty() ? QString() : QFileInfo(currentFileName_).absolutePath() + u'/';
    if (!ConfirmDiscard())
        return false;
    return OpenDocument(QFileInfo(folder + nodeText).absoluteFilePath());
}

bool DocumentFiles::IsTexFileName(const QString& path)
{
    return path.right(4).toLower() == QStringLiteral(".tex");
}

// --- helpers ---------------------------------------------------------------------

void DocumentFiles::SetTitle(const QString& path)
{
    if (window_)
        window_->setWindowTitle(path.isEmpty() ? kTitle : kTitle + QStringLiteral(" -- ") + path);
}

void DocumentFiles::ShowFileError(const char* format, const QString& path, const std::string& reason)
{
    prompts_.ShowError(QString::fromUtf8(format).arg(path, QString::fromLocal8Bit(reason.c_str())));
}
