#include "app/CompileActions.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QTabWidget>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "app/DocumentFiles.h"
#include "app/DocumentPath.h"
#include "app/ErrorReport.h"
#include "app/TFormMain.h"
#include "build/CompileRootSearch.h"
#include "build/DiskTexFolder.h"
#include "build/ErrorJump.h"
#include "build/TypesetterCommand.h"
#include "dialogs/TFormCompile.h"
#include "editor/TEditor.h"
#include "editor/core/EFileError.h"
#include "editor/core/ShiftJisCodec.h"
#include "editor/core/SystemErrorText.h"
#include "platform/DefaultApplication.h"
#include "platform/PathDisplay.h"
#include "platform/ProcessAlive.h"

extern char** environ;

const QString CompileActions::kNoTargetMessage =
    QStringLiteral("コンパイル対象を推定し切れませんでした。元ファイルからコンパイルしてください。");
const QString CompileActions::kNoViewerMessage =
    QStringLiteral("DVIファイルを開くアプリケーション（application/x-dvi の既定のアプリケーション）が"
                   "登録されていません。DVIビューアをインストールし、既定のアプリケーションにしてください。");

namespace {

QString ShownPath(const std::string& path) { return QString::fromStdString(DisplayPathText(path)); }
QString Decoded(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

std::string FolderWithoutSlash(const std::string& path)
{
    std::string folder = DocumentPath::FolderOf(path);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

// Why the typesetter could not be started, in the user's words.
QString StartFailure(const std::string& program, const QString& qtReason)
{
    if (program.empty())
        return QStringLiteral("pLaTeXの場所が設定されていません。「設定」で指定してください。");
    QString reason = qtReason;
    struct stat info {};
    if (program.find('/') != std::string::npos) {
        if (stat(program.c_str(), &info) != 0)
            reason = QString::fromStdString(SystemErrorText(errno));
        else if (!S_ISREG(info.st_mode) || access(program.c_str(), X_OK) != 0)
            reason = QString::fromStdString(SystemErrorText(EACCES));
    }
    return QStringLiteral("'%1' を起動できませんでした（%2）。「設定」でpLaTeXの場所を確かめてください。")
        .arg(ShownPath(program), reason);
}

std::vector<std::string> ProgramEnvironment()
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry)
        entries.emplace_back(*entry);
    return entries;
}

// The file name an entry shows beside its first row.
QString ShownFileName(const std::string& logName)
{
    std::string name = logName;
    while (name.size() >= 2 && name.compare(0, 2, "./") == 0)
        name.erase(0, 2);
    return QString::fromStdString(ShiftJisCodec::DecodeToUtf8(name));
}

}  // namespace

CompileActions::CompileActions(TFormMain& form)
    : QObject(&form), form_(form), list_(form.TeXStatus), compileWindow_(new TFormCompile(&form))
{
    ShowError = [this](const QString& message) { ShowErrorReport(&form_, message); };
    ShowInformation = [this](const QString& message) {
        QMessageBox::information(&form_, QStringLiteral("情報"), message);
    };
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { TeXStatusDblClick(); });
    list_->installEventFilter(this);
}

CompileActions::~CompileActions() = default;

// --- the actions ------------------------------------------------------------------

bool CompileActions::SaveFirst()
{
    if (form_.CurrentFileName().empty()) {
        form_.Documents->FileSaveAs();
        return false;
    }
    // Compiling the file as it was before a failed save would show results
    // for text that is not on the screen.
    return form_.Documents->FileSave1();
}

std::string CompileActions::Target() const
{
    if (!form_.TopPath.isEmpty())
        return DocumentPath::Absolute(QFile::encodeName(form_.TopPath).toStdString());
    return form_.CurrentFileName();
}

void CompileActions::RunLaTeXExecute()
{
    if (!SaveFirst())
        return;
    RunTypesetter(QFile::encodeName(form_.LaTeXPath).toStdString(), Target());
}

void CompileActions::RunDviOutExecute()
{
    if (!SaveFirst())
        return;
    const std::string root = RunTypesetter(QFile::encodeName(form_.LaTeXPath).toStdString(), Target());
    // Viewing always compiles first; with no root there is nothing to show.
    if (!root.empty())
        ShowDvi(root);
}

void CompileActions::RunOutCommandExecute()
{
    if (!SaveFirst())
        return;
    StartExternalCommand(QFile::encodeName(form_.OutCommandPath).toStdString(), Target());
}

// --- the runners ------------------------------------------------------------------

std::string CompileActions::CompileRoot(const std::string& target)
{
    if (!form_.SerchRoot)
        return target;
    DiskTexFolder folder(FolderWithoutSlash(target));
    CompileRootSearch search(folder, [this] { ShowError(QString::fromUtf8(CompileRootSearch::kCycleMessage)); });
    search.FollowRootComments = true;
    const std::string root = search.FindCompileRoot(target);
    if (root.empty())
        ShowError(kNoTargetMessage);
    return root;
}

std::string CompileActions::RunTypesetter(const std::string& program, const std::string& target)
{
    if (target.empty())
        return std::string();
    const std::string root = CompileRoot(target);
    if (root.empty())
        return std::string();
    const TypesetterCommand command =
        TypesetterCommand::For(program, root, form_.NonStopMode, ProgramEnvironment());
    const TFormCompile::Result result = compileWindow_->Run(command);
    if (!result.Started)
        ShowError(StartFailure(program, result.StartError));

    // The log is read even when the typesetter did not start: the one an
    // earlier run left is what there is to show.
    std::string bytes;
    try {
        bytes = DiskTexFolder(command.WorkingFolder).ReadFile(command.LogPath);
    } catch (const EFileError& error) {
        const std::string path = command.WorkingFolder + "/" + command.LogPath;
        ShowError(QStringLiteral("ファイル \"%1\". %2 は開けません")
                      .arg(ShownPath(path), QString::fromStdString(error.Reason)));
        return root;
    }
    FillErrorList(command.WorkingFolder, bytes);
    return root;
}

void CompileActions::FillErrorList(const std::string& folder, const std::string& logBytes)
{
    log_ = ReadTypesetterLog(logBytes);
    logFolder_ = folder;
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(log_.Rows.size()));
    for (std::size_t i = 0; i < log_.Rows.size(); ++i) {
        QString row = QString::fromStdString(ShiftJisCodec::DecodeToUtf8(log_.Rows[i]));
        const std::size_t entry = i / 4;
        // An entry's first row shows the file the error was met in.
        if (i % 4 == 0 && entry < log_.Entries.size() && !log_.Entries[entry].FileName.empty())
            row = ShownFileName(log_.Entries[entry].FileName) + QStringLiteral(": ") + row;
        rows << row;
    }
    list_->clear();
    list_->addItems(rows);
    list_->repaint();
    // The outcome is what the user looks for after a compile.
    form_.PageStatus->setCurrentWidget(list_);
}

void CompileActions::ViewDvi(const std::string& /*viewer*/, const std::string& target)
{
    if (target.empty())
        return;
    const std::string root = CompileRoot(target);
    if (!root.empty())
        ShowDvi(root);
}

void CompileActions::ShowDvi(const std::string& root)
{
    const std::string dvi = WithExtension(root, ".dvi");
    const auto running = viewers_.find(dvi);
    if (running != viewers_.end()) {
        if (ProcessAlive(running->second))
            return;
        viewers_.erase(running);
    }
    const std::vector<std::string> command = DefaultApplication::CommandToOpen("application/x-dvi", dvi);
    if (command.empty()) {
        ShowInformation(kNoViewerMessage);
        return;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i)
        arguments << Decoded(command[i]);
    // Started on its own, so that it stays open when this program ends; its
    // process id tells whether it still runs.
    qint64 pid = 0;
    if (!QProcess::startDetached(Decoded(command.front()), arguments, Decoded(FolderWithoutSlash(dvi)), &pid)) {
        ShowError(QStringLiteral("DVIビューア '%1' を起動できませんでした").arg(ShownPath(command.front())));
        return;
    }
    viewers_[dvi] = pid;
}

void CompileActions::StartExternalCommand(const std::string& command, const std::string& target)
{
    if (command.empty()) {
        ShowError(QStringLiteral("外部コマンドが設定されていません。「設定」で指定してください。"));
        return;
    }
    if (!QProcess::startDetached(Decoded(command), {Decoded(target)}))
        ShowError(QStringLiteral("外部コマンド '%1' を起動できませんでした").arg(ShownPath(command)));
}

// --- the error list ---------------------------------------------------------------

void CompileActions::TeXStatusDblClick()
{
    const std::optional<ErrorJump> jump = ErrorJumpAt(log_, list_->currentRow());
    if (!jump)
        return;
    if (jump->FileName.empty()) {
        GoToLine(jump->Line);
        return;
    }
    std::string path;
    for (const std::string& candidate : LogFileCandidates(logFolder_, jump->FileName)) {
        if (IsRegularFile(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.empty())
        return;
    if (!SameFile(path, form_.CurrentFileName())
        && !form_.Documents->OpenWithQuestion(DocumentPath::Absolute(path)))
        return;
    GoToLine(jump->Line);
}

void CompileActions::GoToLine(int line)
{
    TEditorCore& editor = form_.Editor->Core();
    const int lines = editor.Store().LineCount();
    if (lines <= 0)
        return;
    form_.Editor->setFocus();
    editor.SetRowCol(editor.LineToRow(std::min(line, lines) - 1), 0);
}

bool CompileActions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != list_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool copy = key->matches(QKeySequence::Copy);
        const bool enter =
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier;
        if (!copy && !enter)
            return false;
        // The list takes these keys before the window's shortcuts do.
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            if (copy && list_->currentItem())
                QApplication::clipboard()->setText(list_->currentItem()->text());
            else if (enter)
                TeXStatusDblClick();
        }
        return true;
    }
    return false;
}
