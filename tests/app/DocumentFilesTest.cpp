#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>

#include "app/DocumentDialogs.h"
#include "app/DocumentFiles.h"
#include "app/DocumentPrompts.h"
#include "editor/TEditor.h"

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
    QString GetOpenFileName(const QString& lastName) override
    {
        openStartNames.append(lastName);
        return Take(openNames);
    }
    QString GetSaveFileName(const QString& lastName) override
    {
        saveStartNames.append(lastName);
        return Take(saveNames);
    }
    void ShowError(const QString& message) override { errors.append(message); }
    void ShowNotice(const QString& message) override { notices.append(message); }

    std::deque<SaveAnswer> answers;
    QStringList openNames, saveNames;  // "" cancels the dialog
    QStringList openStartNames, saveStartNames, errors, notices;
    int questions = 0;

private:
    static QString Take(QStringList& names) { return names.isEmpty() ? QString() : names.takeFirst(); }
};

using Answer = DocumentPrompts::SaveAnswer;

class DocumentFilesTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Write(const QString& name, const std::string& bytes) const
    {
        std::ofstream(Path(name).toStdString(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }
    static std::string Read(const QString& path)
    {
        std::ifstream in(path.toStdString(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
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
    const QString a = Write("a.tex", "one\ntwo\n");
    QSignalSpy outline(&files, &DocumentFiles::RefreshOutline);
    QSignalSpy tree(&files, &DocumentFiles::BuildFileTree);
    editor.Core().SetModified(true);

    ASSERT_TRUE(files.OpenDocument(a));
    EXPECT_EQ(Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(files.CurrentFileName(), a);
    EXPECT_EQ(window.windowTitle(), "Scrivlet -- " + a);
    EXPECT_EQ(files.History(), QStringList{a});
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
    const QString b = Path("b.tex");  // the default extension
    EXPECT_EQ(Read(b), "one\nthree\n");
    EXPECT_EQ(files.CurrentFileName(), b);
    EXPECT_EQ(window.windowTitle(), "Scrivlet -- " + b);
    EXPECT_EQ(files.History(), (QStringList{b, a}));
    EXPECT_FALSE(editor.Core().Modified());
    EXPECT_EQ(outline.count(), 2);
    EXPECT_EQ(tree.count(), 1);

    // The save dialog starts with the name last chosen in it.
    prompts.saveNames = {QString()};
    EXPECT_FALSE(files.FileSaveAs());
    EXPECT_EQ(prompts.saveStartNames, (QStringList{QString(), b}));

    // Saving over an existing file replaces it without a question.
    Type("x\r\n");
    prompts.saveNames = {a};
    ASSERT_TRUE(files.FileSaveAs());
    EXPECT_EQ(Read(a), "x\n");
    EXPECT_EQ(prompts.questions, 0);
}

TEST_F(DocumentFilesTest, FailedOpenKeepsTheDocumentAndShowsTheMessage)
{
    const QString a = Write("a.tex", "a\n");
    ASSERT_TRUE(files.OpenDocument(a));
    Type("unsaved");

    // The open dialog takes a name that does not exist; the open then fails.
    prompts.answers = {Answer::No};
    prompts.openNames = {Path("missing.tex")};
    files.FileOpen();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("ファイル \"%1\". %2 は開けません")
                                     .arg(Path("missing.tex"), QString::fromLocal8Bit(std::strerror(ENOENT))));
    EXPECT_EQ(Text(), "unsaved");
    EXPECT_TRUE(editor.Core().Modified());
    EXPECT_EQ(files.CurrentFileName(), a);
    EXPECT_EQ(window.windowTitle(), "Scrivlet -- " + a);
    EXPECT_EQ(files.History(), QStringList{a});
    EXPECT_EQ(files.OpenDialogName(), Path("missing.tex"));
}

TEST_F(DocumentFilesTest, FailedSaveKeepsModifiedAndTheNameAndShowsTheMessage)
{
    const QString a = Write("a.tex", "old\n");
    ASSERT_TRUE(files.OpenDocument(a));
    Type("new\r\n");
    QDir(dir.path()).mkdir("folder.tex");

    prompts.saveNames = {Path("folder.tex")};
    EXPECT_FALSE(files.FileSaveAs());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("ファイル \"%1\". %2 を作成できません")
                                     .arg(Path("folder.tex"), QString::fromLocal8Bit(std::strerror(EISDIR))));
    EXPECT_TRUE(editor.Core().Modified());
    EXPECT_EQ(files.CurrentFileName(), a);
    EXPECT_EQ(files.History(), QStringList{a});
    EXPECT_EQ(Read(a), "old\n");

    // An empty name writes nothing and clears nothing.
    EXPECT_FALSE(files.SaveDocument(QString()));
    EXPECT_TRUE(editor.Core().Modified());
}

TEST_F(DocumentFilesTest, SaveQuestionGuardsNew)
{
    const QString a = Write("a.tex", "a\n");
    ASSERT_TRUE(files.OpenDocument(a));

    // Not modified: no question.
    files.FileNew();
    EXPECT_EQ(prompts.questions, 0);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(files.CurrentFileName(), QString());
    EXPECT_EQ(window.windowTitle(), "Scrivlet");
    EXPECT_EQ(files.History(), QStringList{a});  // the history stays

    Type("draft");
    prompts.answers = {Answer::Cancel};
    files.FileNew();
    EXPECT_EQ(Text(), "draft");
    EXPECT_TRUE(editor.Core().Modified());

    // Yes on an untitled document asks for a name; cancelling that keeps the
    // text, since the user asked for it to be saved.
    prompts.answers = {Answer::Yes};
    prompts.saveNames = {QString()};
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
    EXPECT_EQ(files.History(), (QStringList{Path("draft.tex"), a}));

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

    const QString a = Write("a.tex", "a\n");
    ASSERT_TRUE(files.OpenDocument(a));
    Type("b\r\n");
    prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(files.FileExit());

    // Yes, but the file cannot be written: the program stays.
    ASSERT_TRUE(QFile::remove(a));
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
    const QString a = Write("a.tex", "a\n");
    prompts.openNames = {a, QString()};
    files.FileOpen();
    EXPECT_EQ(files.CurrentFileName(), a);
    Type("edited");
    prompts.answers = {Answer::No};
    files.FileOpen();
    EXPECT_EQ(prompts.openStartNames, (QStringList{QString(), a}));
    EXPECT_EQ(Text(), "edited");
    EXPECT_EQ(files.CurrentFileName(), a);
}

TEST_F(DocumentFilesTest, HistoryMovesAPathToTheTopAndOpensFromItsItems)
{
    const QString a = Write("a.tex", "A\n");
    const QString b = Write("b & c.tex", "B\n");
    files.SetHistory({b, a, Path("other.tex")});
    EXPECT_EQ(files.History(), (QStringList{b, a, Path("other.tex")}));
    // The caption shows the path itself, "&" included.
    EXPECT_EQ(reOpen.actions().first()->text(), QString(b).replace("&", "&&"));

    files.AddHistory(a);
    EXPECT_EQ(files.History(), (QStringList{a, b, Path("other.tex")}));
    // File names differ by case on this system: both stay.
    files.AddHistory(Path("A.tex"));
    EXPECT_EQ(files.History().size(), 4);
    files.AddHistory(QString());  // nothing to add
    EXPECT_EQ(files.History().size(), 4);

    // Clicking the item for b (a modified document: the question first).
    Type("x");
    prompts.answers = {Answer::No};
    reOpen.actions().at(2)->trigger();
    EXPECT_EQ(prompts.questions, 1);
    EXPECT_EQ(files.CurrentFileName(), b);
    EXPECT_EQ(Text(), "B\r\n");
    EXPECT_EQ(files.History().first(), b);
    EXPECT_EQ(files.History().size(), 4);
}

TEST_F(DocumentFilesTest, DroppedFilesAndTheCommandLineOpenOnlyTeXFiles)
{
    const QString paper = Write("Paper.TeX", "paper\n");
    Write("x.txt", "x\n");
    // Only the first dropped file counts.
    EXPECT_FALSE(files.DropFiles({QUrl::fromLocalFile(Path("x.txt")), QUrl::fromLocalFile(paper)}));
    EXPECT_FALSE(files.DropFiles({QUrl("https://example.org/a.tex")}));
    EXPECT_EQ(files.CurrentFileName(), QString());

    EXPECT_TRUE(files.DropFiles({QUrl::fromLocalFile(paper)}));
    EXPECT_EQ(files.CurrentFileName(), paper);

    // A modified document is not dropped unasked.
    Type("changes");
    prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(files.DropFiles({QUrl::fromLocalFile(paper)}));
    EXPECT_EQ(Text(), "changes");

    editor.Core().SetModified(false);
    files.FileNew();
    EXPECT_FALSE(files.OpenCommandLine({QStringLiteral("notes.txt")}));
    EXPECT_FALSE(files.OpenCommandLine({}));
    EXPECT_EQ(files.CurrentFileName(), QString());

    // A relative argument is made absolute before anything moves the
    // current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const bool opened = files.OpenCommandLine({QStringLiteral("Paper.TeX"), QStringLiteral("ignored.tex")});
    QDir::setCurrent(previous);
    EXPECT_TRUE(opened);
    EXPECT_EQ(files.CurrentFileName(), paper);
}

TEST_F(DocumentFilesTest, FileTreeNodeOpensBesideTheCurrentDocument)
{
    QDir(dir.path()).mkdir("sub");
    const QString main = Write("main.tex", "\\input{sub/part}\n");
    const QString part = Write("sub/part.tex", "part\n");
    ASSERT_TRUE(files.OpenDocument(main));
    EXPECT_TRUE(files.OpenFileTreeNode(QStringLiteral("sub/part.tex")));
    EXPECT_EQ(files.CurrentFileName(), part);
    EXPECT_FALSE(files.OpenFileTreeNode(QString()));
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
    EXPECT_EQ(dialogs.GetOpenFileName(last), QString());

    WhenShown<QFileDialog>([&last](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters().size(), 1);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        dialog->selectFile(last);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    });
    EXPECT_EQ(dialogs.GetSaveFileName(QString()), last);
}

}  // namespace
