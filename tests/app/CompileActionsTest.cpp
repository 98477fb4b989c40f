#include "app/CompileActions.h"
#include "app/DocumentOutline.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>

#include "app/DocumentFiles.h"
#include "app/TFormMain.h"
#include "build/CompileRootSearch.h"
#include "dialogs/TFormCompile.h"
#include "editor/TEditor.h"

namespace {

std::string ReadAll(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const QString& path, const std::string& bytes, bool executable = false)
{
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    if (executable)
        chmod(path.toStdString().c_str(), 0755);
}

bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A folder with a root document that includes two chapters, a stand-in for
// the typesetter that writes a prepared log, and a main window set up to
// compile with it.
struct Compiling {
    QTemporaryDir dir;
    std::unique_ptr<TFormMain> form;
    QStringList errors;
    QStringList outlineErrors;
    QStringList notes;

    explicit Compiling(bool serchRoot = true)
    {
        Write(Path("main.tex"), "\\documentclass{jsarticle}\n\\begin{document}\n\\include{chap1}\n\\input{chap2}\n"
                                "\\end{document}\n");
        Write(Path("chap1.tex"), "line 1\nline 2\nline 3\n");
        Write(Path("chap2.tex"), "c2 line 1\nc2 line 2\nc2 line 3\nc2 line 4\nc2 line 5\n");
        Write(Path("fake.log"), "This is the fake typesetter\n(./main.tex (./chap1.tex\n"
                                "! Undefined control sequence.\nl.2 \\foo\n\nThe control sequence\n) "
                                "(./chap2.tex\n! Missing $ inserted.\n<inserted text> \n                $\n"
                                "l.4 \\bar\n))\nOutput written on main.dvi (1 page, 228 bytes).\n");
        // Records how it was started; without the non-stop option it waits
        // for a line on its standard input, as pLaTeX's prompt does.
        Write(Path("platex"),
              "#!/bin/sh\n"
              "out=" + Path("").toStdString() + "\n"
              "printf '%s\\n' \"$@\" > \"$out/args\"\n"
              "pwd > \"$out/cwd\"\n"
              "echo \"$PTEX_KANJI_ENC $max_print_line\" > \"$out/env\"\n"
              "for a; do name=$a; done\n"
              "echo \"(./$name\"\n"
              "if [ \"$1\" != -interaction=nonstopmode ]; then\n"
              "  printf '? '\n"
              "  read -r answer || exit 3\n"
              "  echo \"$answer\" > \"$out/answer\"\n"
              "fi\n"
              "cp \"$out/fake.log\" \"${name%????}.log\"\n",
              true);
        form = std::make_unique<TFormMain>(Path("Scrivlet.ini"));
        form->LaTeXPath = Path("platex");
        form->SerchRoot = serchRoot;
        form->Compile->ShowError = [this](const QString& message) { errors << message; };
        // Opening a file builds the file tree, which names a cycle too.
        form->Outline->ShowError = [this](const QString& message) { outlineErrors << message; };
        form->Compile->ShowInformation = [this](const QString& message) { notes << message; };
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    std::string Bytes(const char* name) const { return QFile::encodeName(Path(name)).toStdString(); }

    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < form->TeXStatus->count(); ++i)
            rows << form->TeXStatus->item(i)->text();
        return rows;
    }

    int CaretLine() const { return form->Editor->Core().RowToLine(form->Editor->Core().Row()); }
};

TEST(CompileActionsTest, CompilingAChapterSavesItCompilesTheRootAndListsEachErrorWithItsFile)
{
    Compiling c;
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("chap1.tex")));
    c.form->Editor->Lines().SetTextStr("changed 1\nchanged 2\n");
    ASSERT_TRUE(c.form->RunAction(QStringLiteral("RunLaTeX")));
    EXPECT_TRUE(c.errors.isEmpty()) << c.errors.join(u'\n').toStdString();
    // Saved first, every time.
    EXPECT_EQ(ReadAll(c.Path("chap1.tex")), "changed 1\nchanged 2\n");
    // The root, by its name alone, in its folder, with the encoding set.
    EXPECT_EQ(ReadAll(c.Path("args")), "-interaction=nonstopmode\nmain.tex\n");
    EXPECT_EQ(QDir(QString::fromStdString(ReadAll(c.Path("cwd"))).trimmed()).canonicalPath(),
              QDir(c.dir.path()).canonicalPath());
    EXPECT_EQ(ReadAll(c.Path("env")), "sjis 10000\n");
    EXPECT_EQ(c.Rows(), (QStringList{QStringLiteral("chap1.tex: ! Undefined control sequence."),
                                     QStringLiteral("l.2 \\foo"), QString(), QStringLiteral("The control sequence"),
                                     QStringLiteral("chap2.tex: ! Missing $ inserted."),
                                     QStringLiteral("<inserted text> "), QStringLiteral("                $"),
                                     QStringLiteral("l.4 \\bar"),
                                     QStringLiteral("Output written on main.dvi (1 page, 228 bytes).")}));
    EXPECT_EQ(c.form->PageStatus->currentWidget(), c.form->TeXStatus);
}

TEST(CompileActionsTest, ANeverSavedDocumentGetsTheSaveDialogAndNothingElse)
{
    Compiling c;
    c.form->Editor->Lines().SetTextStr("\\documentclass{jsarticle}\n");
    const QString named = c.Path("named.tex");
    for (const char* action : {"RunLaTeX", "RunDviOut", "RunOutCommand"}) {
        int dialogs = 0;
        // Named in the dialog: the document is saved, and the action ends.
        QTimer::singleShot(0, [&dialogs, named] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ++dialogs;
            dialog->selectFile(named);
            static_cast<QDialog*>(dialog)->accept();
        });
        c.form->RunAction(QString::fromLatin1(action));
        EXPECT_EQ(dialogs, 1) << action;
        EXPECT_EQ(ReadAll(named), "\\documentclass{jsarticle}\n") << action;
        EXPECT_FALSE(QFile::exists(c.Path("args"))) << action << ": nothing compiled";
        EXPECT_TRUE(c.notes.isEmpty() && c.errors.isEmpty()) << action;
        QFile::remove(named);
        c.form->Documents->FileNew();
        c.form->Editor->Lines().SetTextStr("\\documentclass{jsarticle}\n");
    }
}

TEST(CompileActionsTest, ADoubleClickGoesToTheLineInTheOpenFileOrOpensTheFileOfTheError)
{
    Compiling c;
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("chap1.tex")));
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    ASSERT_EQ(c.form->TeXStatus->count(), 9);
    // The first entry is in the open file: line 2, whichever row is clicked.
    c.form->TeXStatus->setCurrentRow(3);
    c.form->Compile->TeXStatusDblClick();
    EXPECT_EQ(c.form->CurrentFileName(), c.Bytes("chap1.tex"));
    EXPECT_EQ(c.CaretLine(), 1);
    // The second is in chap2.tex, whose "l.4" is the entry's fourth row.
    c.form->TeXStatus->setCurrentRow(4);
    c.form->Compile->TeXStatusDblClick();
    EXPECT_EQ(c.form->CurrentFileName(), c.Bytes("chap2.tex"));
    EXPECT_EQ(c.CaretLine(), 3);
    // The log's last line leads nowhere.
    c.form->TeXStatus->setCurrentRow(8);
    c.form->Compile->TeXStatusDblClick();
    EXPECT_EQ(c.form->CurrentFileName(), c.Bytes("chap2.tex"));
    EXPECT_EQ(c.CaretLine(), 3);
}

TEST(CompileActionsTest, ATypesetterThatCannotStartIsReportedAndTheLogThereIsStillShown)
{
    Compiling c;
    Write(c.Path("main.log"), "(./main.tex\nNo pages of output.\n");
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("main.tex")));
    c.form->LaTeXPath = c.Path("no-such-platex");
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    ASSERT_EQ(c.errors.size(), 1);
    EXPECT_TRUE(c.errors[0].contains(QStringLiteral("を起動できませんでした"))) << c.errors[0].toStdString();
    EXPECT_EQ(c.Rows(), QStringList{QStringLiteral("No pages of output.")});
    c.errors.clear();
    c.form->LaTeXPath.clear();
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    ASSERT_EQ(c.errors.size(), 1);
    EXPECT_TRUE(c.errors[0].contains(QStringLiteral("設定されていません")));
}

TEST(CompileActionsTest, AMissingLogIsReportedAndTheListKeepsItsRows)
{
    Compiling c;
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("main.tex")));
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    ASSERT_EQ(c.form->TeXStatus->count(), 9);
    // A typesetter that writes no log.
    Write(c.Path("quiet"), "#!/bin/sh\nexit 1\n", true);
    QFile::remove(c.Path("main.log"));
    c.form->LaTeXPath = c.Path("quiet");
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    ASSERT_EQ(c.errors.size(), 1);
    EXPECT_TRUE(c.errors[0].contains(QStringLiteral("main.log"))) << c.errors[0].toStdString();
    EXPECT_EQ(c.form->TeXStatus->count(), 9);
}

TEST(CompileActionsTest, NoRootFoundOrACycleIsSaidAndNothingRuns)
{
    Compiling c;
    Write(c.Path("loose.tex"), "no class here\n");
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("loose.tex")));
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_EQ(c.errors, QStringList{CompileActions::kNoTargetMessage});
    EXPECT_FALSE(QFile::exists(c.Path("args")));
    // Two files that include each other: the cycle, then no root.
    c.errors.clear();
    Write(c.Path("a.tex"), "\\input{b}\n");
    Write(c.Path("b.tex"), "\\input{a}\n");
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("a.tex")));
    EXPECT_EQ(c.outlineErrors, QStringList{QString::fromUtf8(CompileRootSearch::kCycleMessage)});
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_EQ(c.errors, (QStringList{QString::fromUtf8(CompileRootSearch::kCycleMessage),
                                     CompileActions::kNoTargetMessage}));
    EXPECT_FALSE(QFile::exists(c.Path("args")));
    // Without the root search the open file itself is compiled.
    c.errors.clear();
    c.form->SerchRoot = false;
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_TRUE(c.errors.isEmpty());
    EXPECT_EQ(ReadAll(c.Path("args")), "-interaction=nonstopmode\na.tex\n");
}

TEST(CompileActionsTest, AFolderWhoseNameIsNotUtf8IsWhereTheTypesetterRuns)
{
    Compiling c;
    // "表示" in Shift-JIS, as an archive made on Windows leaves it.
    const std::string folder = c.Bytes("") + "/\x95\x5c\x8e\xa6";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    std::ofstream(folder + "/main.tex", std::ios::binary) << "\\documentclass{jsarticle}\n";
    ASSERT_TRUE(c.form->OpenDocument(folder + "/main.tex"));
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_TRUE(c.errors.isEmpty()) << c.errors.join(u'\n').toStdString();
    std::string cwd = ReadAll(c.Path("cwd"));
    EXPECT_EQ(cwd.substr(cwd.size() - 5), "\x95\x5c\x8e\xa6\n");
    EXPECT_EQ(c.form->TeXStatus->count(), 9) << "the log is read from that folder";
}

TEST(CompileActionsTest, TheTopFileIsCompiledInsteadOfTheOpenOne)
{
    Compiling c(false);
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("chap2.tex")));
    c.form->TopPath = c.Path("main.tex");
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_EQ(ReadAll(c.Path("args")), "-interaction=nonstopmode\nmain.tex\n");
}

TEST(CompileActionsTest, WithoutTheNonStopOptionTheConsoleAnswersThePromptOrStopsTheTypesetter)
{
    Compiling c;
    c.form->NonStopMode = false;
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("main.tex")));
    // An answer typed into the input line reaches the typesetter.
    QTimer::singleShot(0, [&c] {
        TFormCompile* window = c.form->Compile->CompileWindow();
        const bool prompted =
            WaitFor([window] { return window->isVisible() && window->Output->toPlainText().contains("? "); });
        EXPECT_TRUE(prompted) << window->isVisible() << " [" << window->Output->toPlainText().toStdString() << "]";
        EXPECT_TRUE(window->isModal());
        window->Input->setText(QStringLiteral("x表"));
        window->InputReturnPressed();
    });
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_EQ(ReadAll(c.Path("args")), "main.tex\n");
    EXPECT_EQ(ReadAll(c.Path("answer")), "x\x95\x5c\n");
    EXPECT_EQ(c.form->TeXStatus->count(), 9);
    EXPECT_FALSE(c.form->Compile->CompileWindow()->isVisible());

    // "中止" ends it; the window closes once it has ended.
    QFile::remove(c.Path("answer"));
    QTimer::singleShot(0, [&c] {
        TFormCompile* window = c.form->Compile->CompileWindow();
        ASSERT_TRUE(WaitFor([window] { return window->isVisible() && window->Output->toPlainText().contains("? "); }));
        window->ButtonStop->click();
    });
    c.form->RunAction(QStringLiteral("RunLaTeX"));
    EXPECT_FALSE(QFile::exists(c.Path("answer")));
    EXPECT_FALSE(c.form->Compile->CompileWindow()->isVisible());
}

TEST(CompileActionsTest, TheExternalCommandGetsTheTargetsFullPath)
{
    Compiling c;
    Write(c.Path("command"), "#!/bin/sh\nprintf '%s|' \"$@\" > \"" + c.Path("").toStdString() + "/ran\"\n", true);
    c.form->OutCommandPath = c.Path("command");
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("chap1.tex")));
    c.form->RunAction(QStringLiteral("RunOutCommand"));
    ASSERT_TRUE(WaitFor([&c] { return !ReadAll(c.Path("ran")).empty(); }));
    EXPECT_EQ(ReadAll(c.Path("ran")), c.Bytes("chap1.tex") + "|");
    EXPECT_FALSE(QFile::exists(c.Path("args"))) << "nothing is compiled";
    c.form->OutCommandPath.clear();
    c.form->RunAction(QStringLiteral("RunOutCommand"));
    EXPECT_EQ(c.errors.size(), 1);
}

TEST(CompileActionsTest, TheViewerStartsOncePerDviFileWhileItRunsAndItsAbsenceIsSaid)
{
    Compiling c;
    ASSERT_TRUE(c.form->OpenDocument(c.Bytes("chap1.tex")));
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    QDir(c.dir.path()).mkpath(QStringLiteral("data/applications"));
    qputenv("XDG_CONFIG_HOME", c.Path("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", c.Path("data").toLocal8Bit());
    qputenv("XDG_DATA_DIRS", c.Path("nothing").toLocal8Bit());

    c.form->RunAction(QStringLiteral("RunDviOut"));
    EXPECT_EQ(c.notes, QStringList{CompileActions::kNoViewerMessage});

    // A viewer that notes each start and stays until its stop file appears
    // (or its folder is gone), noting its end.
    const std::string out = c.Path("").toStdString();
    Write(c.Path("viewer"),
          "#!/bin/sh\necho \"$1\" >> \"" + out + "/views\"\n"
          "while [ -d \"" + out + "\" ] && [ ! -f \"" + out + "/stop\" ]; do sleep 0.05; done\n"
          "echo >> \"" + out + "/ended\"\n",
          true);
    Write(c.Path("data/applications/fakeviewer.desktop"),
          "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + c.Path("viewer").toStdString() + "\" %f\n");
    QDir(c.dir.path()).mkpath(QStringLiteral("config"));
    Write(c.Path("config/mimeapps.list"), "[Default Applications]\napplication/x-dvi=fakeviewer.desktop\n");
    c.notes.clear();
    c.form->RunAction(QStringLiteral("RunDviOut"));
    ASSERT_TRUE(WaitFor([&c] { return !ReadAll(c.Path("views")).empty(); }));
    c.form->RunAction(QStringLiteral("RunDviOut"));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(ReadAll(c.Path("views")), c.Bytes("main.dvi") + "\n") << "one viewer for the file";
    // Once it has ended, the next view starts another.
    Write(c.Path("stop"), "");
    ASSERT_TRUE(WaitFor([&c] { return ReadAll(c.Path("ended")) == "\n"; }));
    QFile::remove(c.Path("views"));
    QFile::remove(c.Path("stop"));
    c.form->RunAction(QStringLiteral("RunDviOut"));
    EXPECT_TRUE(WaitFor([&c] { return !ReadAll(c.Path("views")).empty(); }));
    Write(c.Path("stop"), "");
    EXPECT_TRUE(WaitFor([&c] { return ReadAll(c.Path("ended")) == "\n\n"; }));
    EXPECT_TRUE(c.notes.isEmpty());
    EXPECT_TRUE(c.errors.isEmpty()) << c.errors.join(u'\n').toStdString();

    qputenv("XDG_CONFIG_HOME", config);
    qputenv("XDG_DATA_HOME", dataHome);
    qputenv("XDG_DATA_DIRS", dataDirs);
}

}  // namespace
