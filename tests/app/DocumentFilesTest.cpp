#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>

#include "app/DocumentDialogs.h"
#include "app/DocumentFiles.h"
#include "app/DocumentPrompts.h"
#include "editor/TEditor.h"
#include "editor/core/ShiftJisCodec.h"
#include "editor/core/SystemErrorText.h"

namespace {

// Answers queued by the test; what was shown is recorded.
class FakePrompts : public DocumentPrompts {
public:
    SaveAnswer AskSaveChanges() override
    {
        ++questions;
        SaveAnswer a = answers.empty() ? SaveAnswer::Cancel : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return a;
    }
    std::string GetOpenFileName(const std::string& lastName) override
    {
        openStartNames.push_back(lastName);
        return Take(openNames);
    }
    std::string GetSaveFileName(const std::string& lastName) override
    {
        saveStartNames.push_back(lastName);
        return Take(saveNames);
    }
    void ShowError(const QString& message) override { errors.append(message); }
    void ShowNotice(const QString& message) override { notices.append(message); }

    std::deque<SaveAnswer> answers;
    std::deque<std::string> openNames, saveNames;  // "" cancels the dialog
    std::vector<std::string> openStartNames, saveStartNames;
    QStringList errors, notices;
    int questions = 0;

private:
    static std::string Take(std::deque<std::string>& names)
    {
        if (names.empty())
            return std::string();
        std::string name = names.front();
        names.pop_front();
        return name;
    }
};

using Answer = DocumentPrompts::SaveAnswer;
using Paths = std::vector<std::string>;

class DocumentFilesTest : public ::testing::Test {
protected:
    // Paths in bytes, as the program holds them.
    std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static QString Title(const std::string& path) { return "Scrivlet -- " + QString::fromStdString(path); }
    std::string Text() { return editor.Lines().GetTextStr(); }
    void Type(const std::string& text)
    {
        editor.Lines().SetTextStr(text);
        editor.Core().SetModified(true);
    }

    QTemporaryDir dir;
    QWidget window;
    QMenu reOpen;
    TEditor editor;
    FakePrompts prompts;
    DocumentFiles files{editor, prompts, &window, &reOpen};
};

TEST_F(DocumentFilesTest, OpenAndSaveSetNameTitleHistoryAndModified)
{
    const std::string a = Write("a.tex", "one\ntwo\n");
    QSignalSpy outline(&files, &DocumentFiles::RefreshOutline);
    QSignalSpy tree(&files, &DocumentFiles::BuildFileTree);
    editor.Core().SetModified(true);

    ASSERT_TRUE(files.OpenDocument(a));
    EXPECT_EQ(Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(files.CurrentFileName(), a);
    EXPECT_EQ(window.windowTitle(), Title(a));
    EXPECT_EQ(files.History(), Paths{a});
    EXPECT_TRUE(reOpen.isEnabled());
    EXPECT_FALSE(editor.Core().Modified());
    EXPECT_EQ(outline.count(), 1);
    EXPECT_EQ(tree.count(), 1);
    EXPECT_TRUE(prompts.notices.isEmpty());

    // Save as: the new name heads the history and the title; the file tree
    // is left as it was. The file's LF breaks go with it.
    Type("one\r\nthree\r\n");
    prompts.saveNames = {Path("b")};
    ASSERT_TRUE(files.FileSaveAs());
    const std::string b = Path("b.tex");  // the default extension
    EXPECT_EQ(Read(b), "one\nthree\n");
    EXPECT_EQ(files.CurrentFileName(), b);
    EXPECT_EQ(window.windowTitle(), Title(b));
    EXPECT_EQ(files.History(), (Paths{b, a}));
    EXPECT_FALSE(editor.Core().Modified());
    EXPECT_EQ(outline.count(), 2);
    EXPECT_EQ(tree.count(), 1);

    // The save dialog starts with the name last chosen in it.
    prompts.saveNames = {std::string()};
    EXPECT_FALSE(files.FileSaveAs());
    EXPECT_EQ(prompts.saveStartNames, (Paths{std::string(), b}));

    // Saving over an existing file replaces it without a question.
    Type("x\r\n");
    prompts.saveNames = {a};
    ASSERT_TRUE(files.FileSaveAs());
    EXPECT_EQ(Read(a), "x\n");
    EXPECT_EQ(prompts.questions, 0);
}

TEST_F(DocumentFilesTest, FailedOpenKeepsTheDocumentAndShowsTheMessage)
{
    const std::string a = Write("a.tex", "a\n");
    ASSERT_TRUE(files.OpenDocument(a));
    Type("unsaved");

    // The open dialog takes a name that does not exist; the open then fails.
    prompts.answers = {Answer::No};
    prompts.openNames = {Path("missing.tex")};
    files.FileOpen();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("ファイル \"%1\". %2 は開けません")
                                     .arg(QString::fromStdString(Path("missing.tex")), QString::fromStdString(SystemErrorText(ENOENT))));
    EXPECT_EQ(Text(), "unsaved");
    EXPECT_TRUE(editor.Core().Modified());
    EXPECT_EQ(files.CurrentFileName(), a);
    EXPECT_EQ(window.windowTitle(), Title(a));
    EXPECT_EQ(files.History(), Paths{a});
    EXPECT_EQ(files.OpenDialogName(), Path("missing.tex"));
}

TEST_F(DocumentFilesTest, RunningOutOfMemoryWhileOpeningIsToldInJapanese)
{
    // A sparse file larger than the memory left to the process.
    const std::string big = Path("big.tex");
    std::ofstream(big, std::ios::binary).put('x');
    ASSERT_EQ(truncate(big.c_str(), 128 << 20), 0);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    ASSERT_GT(pages, 0);
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (64 << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &small), 0);
    const bool opened = files.OpenDocument(big);
    setrlimit(RLIMIT_AS, &saved);

    EXPECT_FALSE(opened);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("ファイル \"%1\". %2 は開けません")
                                     .arg(QString::fromStdString(big), QString::fromStdString(SystemErrorText(ENOMEM))));
}

TEST_F(DocumentFilesTest, FailedSaveKeepsModifiedAndTheNameAndShowsTheMessage)
{
    const std::string a = Write("a.tex", "old\n");
    ASSERT_TRUE(files.OpenDocument(a));
    Type("new\r\n");
    QDir(dir.path()).mkdir("folder.tex");

    prompts.saveNames = {Path("folder.tex")};
    EXPECT_FALSE(files.FileSaveAs());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("ファイル \"%1\". %2 を作成できません")
                                     .arg(QString::fromStdString(Path("folder.tex")), QString::fromStdString(SystemErrorText(EISDIR))));
    EXPECT_TRUE(editor.Core().Modified());
    EXPECT_EQ(files.CurrentFileName(), a);
    EXPECT_EQ(files.History(), Paths{a});
    EXPECT_EQ(Read(a), "old\n");

    // An empty name writes nothing and clears nothing.
    EXPECT_FALSE(files.SaveDocument(std::string()));
    EXPECT_TRUE(editor.Core().Modified());
}

TEST_F(DocumentFilesTest, SaveQuestionGuardsNew)
{
    const std::string a = Write("a.tex", "a\n");
    ASSERT_TRUE(files.OpenDocument(a));

    // Not modified: no question.
    files.FileNew();
    EXPECT_EQ(prompts.questions, 0);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(files.CurrentFileName(), std::string());
    EXPECT_EQ(window.windowTitle(), "Scrivlet");
    EXPECT_EQ(files.History(), Paths{a});  // the history stays

    Type("draft");
    prompts.answers = {Answer::Cancel};
    files.FileNew();
    EXPECT_EQ(Text(), "draft");
    EXPECT_TRUE(editor.Core().Modified());

    // Yes on an untitled document asks for a name; cancelling that keeps the
    // text, since the user asked for it to be saved.
    prompts.answers = {Answer::Yes};
    prompts.saveNames = {std::string()};
    files.FileNew();
    EXPECT_EQ(prompts.saveStartNames.size(), 1);
    EXPECT_EQ(Text(), "draft");
    EXPECT_TRUE(editor.Core().Modified());

    // Yes with a name: saved, then the new document.
    prompts.answers = {Answer::Yes};
    prompts.saveNames = {Path("draft.tex")};
    files.FileNew();
    EXPECT_EQ(Read(Path("draft.tex")), "draft");
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(editor.Core().Modified());
    EXPECT_EQ(files.History(), (Paths{Path("draft.tex"), a}));

    // No: discarded.
    Type("scratch");
    prompts.answers = {Answer::No};
    files.FileNew();
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(prompts.questions, 4);
}

TEST_F(DocumentFilesTest, SaveQuestionGuardsExitAndAFailedSaveStopsIt)
{
    QSignalSpy terminate(&files, &DocumentFiles::TerminateRequested);
    EXPECT_TRUE(files.FileExit());  // nothing to ask
    EXPECT_EQ(terminate.count(), 1);

    const std::string a = Write("a.tex", "a\n");
    ASSERT_TRUE(files.OpenDocument(a));
    Type("b\r\n");
    prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(files.FileExit());

    // Yes, but the file cannot be written: the program stays.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(a)));
    QDir(dir.path()).mkdir("a.tex");
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(files.FileExit());
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(terminate.count(), 1);

    prompts.answers = {Answer::No};
    EXPECT_TRUE(files.FileExit());
    EXPECT_EQ(terminate.count(), 2);
}

TEST_F(DocumentFilesTest, OpenDialogRemembersItsNameAndCancelChangesNothing)
{
    const std::string a = Write("a.tex", "a\n");
    prompts.openNames = {a, std::string()};
    files.FileOpen();
    EXPECT_EQ(files.CurrentFileName(), a);
    Type("edited");
    prompts.answers = {Answer::No};
    files.FileOpen();
    EXPECT_EQ(prompts.openStartNames, (Paths{std::string(), a}));
    EXPECT_EQ(Text(), "edited");
    EXPECT_EQ(files.CurrentFileName(), a);
}

TEST_F(DocumentFilesTest, HistoryMovesAPathToTheTopAndOpensFromItsItems)
{
    const std::string a = Write("a.tex", "A\n");
    const std::string b = Write("b & c.tex", "B\n");
    files.SetHistory({b, a, Path("other.tex")});
    EXPECT_EQ(files.History(), (Paths{b, a, Path("other.tex")}));
    // The caption shows the path itself, "&" included.
    EXPECT_EQ(reOpen.actions().first()->text(), QString::fromStdString(b).replace("&", "&&"));

    files.AddHistory(a);
    EXPECT_EQ(files.History(), (Paths{a, b, Path("other.tex")}));
    // File names differ by case on this system: both stay.
    files.AddHistory(Path("A.tex"));
    EXPECT_EQ(files.History().size(), 4u);
    files.AddHistory(std::string());  // nothing to add
    EXPECT_EQ(files.History().size(), 4u);

    // Clicking the item for b (a modified document: the question first).
    Type("x");
    prompts.answers = {Answer::No};
    reOpen.actions().at(2)->trigger();
    EXPECT_EQ(prompts.questions, 1);
    EXPECT_EQ(files.CurrentFileName(), b);
    EXPECT_EQ(Text(), "B\r\n");
    EXPECT_EQ(files.History().front(), b);
    EXPECT_EQ(files.History().size(), 4u);
}

TEST_F(DocumentFilesTest, DroppedFilesAndTheCommandLineOpenOnlyTeXFiles)
{
    const std::string paper = Write("Paper.TeX", "paper\n");
    Write("x.txt", "x\n");
    // Only the first dropped file counts.
    EXPECT_FALSE(files.DropFiles({QUrl::fromLocalFile(QString::fromStdString(Path("x.txt"))), QUrl::fromLocalFile(QString::fromStdString(paper))}));
    EXPECT_FALSE(files.DropFiles({QUrl("https://example.org/a.tex")}));
    EXPECT_EQ(files.CurrentFileName(), std::string());

    EXPECT_TRUE(files.DropFiles({QUrl::fromLocalFile(QString::fromStdString(paper))}));
    EXPECT_EQ(files.CurrentFileName(), paper);

    // A modified document is not dropped unasked.
    Type("changes");
    prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(files.DropFiles({QUrl::fromLocalFile(QString::fromStdString(paper))}));
    EXPECT_EQ(Text(), "changes");

    editor.Core().SetModified(false);
    files.FileNew();
    EXPECT_FALSE(files.OpenCommandLine({"notes.txt"}));
    EXPECT_FALSE(files.OpenCommandLine({}));
    EXPECT_EQ(files.CurrentFileName(), std::string());

    // A relative argument is made absolute before anything moves the
    // current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool opened = files.OpenCommandLine({"Paper.TeX", "ignored.tex"});
    QDir::setCurrent(previous);
    EXPECT_TRUE(opened);
    EXPECT_EQ(files.CurrentFileName(), paper);
}

TEST_F(DocumentFilesTest, FileTreeNodeOpensBesideTheCurrentDocument)
{
    QDir(dir.path()).mkdir("sub");
    const std::string main = Write("main.tex", "\\input{sub/part}\n");
    const std::string part = Write("sub/part.tex", "part\n");
    ASSERT_TRUE(files.OpenDocument(main));
    EXPECT_TRUE(files.OpenFileTreeNode("sub/part.tex"));
    EXPECT_EQ(files.CurrentFileName(), part);
    EXPECT_FALSE(files.OpenFileTreeNode(std::string()));
    // A full path is taken as it is.
    EXPECT_TRUE(files.OpenFileTreeNode(main));
    EXPECT_EQ(files.CurrentFileName(), main);

    // With unsaved changes: Cancel stays, Yes saves and then opens.
    Type("edited\r\n");
    prompts.answers = {Answer::Cancel, Answer::Yes};
    EXPECT_FALSE(files.OpenFileTreeNode("sub/part.tex"));
    EXPECT_EQ(files.CurrentFileName(), main);
    EXPECT_TRUE(files.OpenFileTreeNode("sub/part.tex"));
    EXPECT_EQ(prompts.questions, 2);
    EXPECT_EQ(Read(main), "edited\n") << "saved with the file's own line ends";
    EXPECT_EQ(files.CurrentFileName(), part);
}

TEST_F(DocumentFilesTest, NamesThatAreNotUtf8AreOpenedSavedAndShownDecoded)
{
    // "日本.tex" in Shift-JIS, as archives made on Windows name files.
    const std::string name = "\x93\xFA\x96\x7B.tex";
    const std::string path = Write(name, "text\n");
    const QString shown = QString::fromStdString(dir.path().toStdString()) + QStringLiteral("/日本.tex");

    // From the command line, relative to the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool opened = files.OpenCommandLine({name});
    QDir::setCurrent(previous);
    ASSERT_TRUE(opened) << prompts.errors.join(u'\n').toStdString();
    EXPECT_EQ(files.CurrentFileName(), path);
    EXPECT_EQ(files.History(), Paths{path});
    if (ShiftJisCodec::ConverterAvailable()) {
        EXPECT_EQ(window.windowTitle(), "Scrivlet -- " + shown);
        EXPECT_EQ(reOpen.actions().first()->text(), shown);
    }

    // Saved under its own name, not beside it under a decoded one.
    Type("new\r\n");
    ASSERT_TRUE(files.FileSave1());
    EXPECT_EQ(Read(path), "new\n");

    // Dropped: the URL's bytes name the file.
    files.FileNew();
    const QByteArray url = "file://" + QUrl::toPercentEncoding(QString::fromStdString(dir.path().toStdString()), "/") +
        "/%93%FA%96%7B.tex";
    EXPECT_TRUE(files.DropFiles({QUrl::fromEncoded(url)}));
    EXPECT_EQ(files.CurrentFileName(), path);

    // A missing file is named readably in the message.
    EXPECT_FALSE(files.OpenDocument(Path("\x95\x5C.tex")));
    ASSERT_EQ(prompts.errors.size(), 1);
    if (ShiftJisCodec::ConverterAvailable()) {
        EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("/表.tex\". ")));
    }
    EXPECT_FALSE(prompts.errors[0].contains(QChar(0xFFFD)));
}

TEST_F(DocumentFilesTest, OpeningTellsOnceAboutBytesAfterCtrlZAndOtherEncodings)
{
    ASSERT_TRUE(files.OpenDocument(Write("z.tex", std::string("text\r\n\x1a") + "tail")));
    ASSERT_EQ(prompts.notices.size(), 1);
    EXPECT_TRUE(prompts.notices[0].contains(QStringLiteral("4 バイト")));

    ASSERT_TRUE(files.OpenDocument(Write("u.tex", "\xE6\x97\xA5\xE6\x9C\xAC\n")));
    ASSERT_EQ(prompts.notices.size(), 2);
    EXPECT_TRUE(prompts.notices[1].contains(QStringLiteral("UTF-8")));

    // The UTF-8 bytes come back as they were.
    editor.Core().SetModified(true);
    ASSERT_TRUE(files.FileSave1());
    EXPECT_EQ(Read(Path("u.tex")), "\xE6\x97\xA5\xE6\x9C\xAC\n");
    EXPECT_EQ(prompts.notices.size(), 2);
}

// The real dialogs, answered from a timer while they run modally.
template <typename Widget, typename F>
void WhenShown(F&& answer)
{
    QTimer::singleShot(0, [answer] {
        auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget());
        ASSERT_NE(widget, nullptr);
        answer(widget);
    });
}

TEST(DocumentDialogs, SaveQuestionHasItsTextAndButtonsAndEscapeCancels)
{
    QWidget parent;
    DocumentDialogs dialogs(&parent);
    QStringList buttons;
    WhenShown<QMessageBox>([&buttons](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("情報"));
        EXPECT_EQ(box->text(), QStringLiteral("ファイルが変更されています。保存しますか？"));
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        for (QAbstractButton* b : box->buttons())
            buttons.append(b->text());
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == QStringLiteral("いいえ(&N)"))
                b->click();
        }
    });
    EXPECT_EQ(dialogs.AskSaveChanges(), DocumentPrompts::SaveAnswer::No);
    buttons.sort();
    QStringList expected{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル")};
    expected.sort();
    EXPECT_EQ(buttons, expected);

    WhenShown<QMessageBox>([](QMessageBox* box) { box->escapeButton()->click(); });
    EXPECT_EQ(dialogs.AskSaveChanges(), DocumentPrompts::SaveAnswer::Cancel);
}

TEST(DocumentDialogs, FileDialogsOfferTheirFiltersAndStartWithTheLastName)
{
    QTemporaryDir dir;
    QWidget parent;
    DocumentDialogs dialogs(&parent);
    const QString last = dir.filePath(QStringLiteral("last.tex"));
    WhenShown<QFileDialog>([&last](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters().size(), 2);
        EXPECT_TRUE(dialog->nameFilters().at(0).startsWith(QStringLiteral("TeXファイル (")));
        EXPECT_TRUE(dialog->nameFilters().at(1).startsWith(QStringLiteral("全てのファイル (")));
        // The user sees the names alone, the first one selected.
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("TeXファイル"));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);  // a missing file may be named
        EXPECT_EQ(dialog->selectedFiles().value(0), last);
        dialog->reject();
    });
    EXPECT_EQ(dialogs.GetOpenFileName(last.toStdString()), std::string());

    WhenShown<QFileDialog>([&last](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters().size(), 1);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        dialog->selectFile(last);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    });
    EXPECT_EQ(dialogs.GetSaveFileName(std::string()), last.toStdString());
}

// Folders and files named in Shift-JIS bytes, as archives made on Windows
// hold them: Qt shows them with replacement characters, and the names the
// dialogs give back are turned into the very bytes again. A new name for a
// save keeps its folder's bytes; UTF-8 names are the text's own bytes.
TEST(DocumentDialogs, NamesPickedInTheDialogGiveTheSystemsBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = QFile::encodeName(dir.path()).toStdString();
    const std::string folder = base + "/\x98\x5F\x95\xB6";  // 論文
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string inFolder = folder + "/a.tex";
    const std::string file = base + "/\x95\x5C\x8E\xA6.tex";  // 表示.tex: a trail byte 0x5C
    std::ofstream(file) << "x";
    std::ofstream(inFolder) << "x";
    const auto shown = [](const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); };
    ASSERT_NE(QFile::encodeName(shown(file)).toStdString(), file);  // the loss being mended

    EXPECT_EQ(SystemPathOfDialogName(shown(file)), file);
    EXPECT_EQ(SystemPathOfDialogName(shown(inFolder)), inFolder);
    EXPECT_EQ(SystemPathOfDialogName(shown(folder) + QStringLiteral("/新しい.tex")), folder + "/新しい.tex");
    const std::string utf8 = base + "/論文.tex";
    EXPECT_EQ(SystemPathOfDialogName(QString::fromStdString(utf8)), utf8);

    // Through the dialogs: the open dialog starts on the last name, listed
    // in its folder, and takes it; the save dialog takes that name picked
    // again.
    QWidget parent;
    DocumentDialogs dialogs(&parent);
    WhenShown<QFileDialog>([](QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    EXPECT_EQ(dialogs.GetOpenFileName(file), file);
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(shown(file));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(dialogs.GetSaveFileName(std::string()), file);

    // Qt lists no folder whose name is not UTF-8: for a last name in one,
    // the dialog starts in the folder above it.
    QString startedIn;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        startedIn = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_EQ(dialogs.GetOpenFileName(inFolder), std::string());
    EXPECT_EQ(QFile::encodeName(startedIn).toStdString(), base);
}

}  // namespace
