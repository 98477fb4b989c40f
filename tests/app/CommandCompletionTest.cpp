#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "../support/BoxAnswerer.h"
#include "app/CommandCompletion.h"
#include "app/TFormMain.h"
#include "dialogs/TFormHelpWindow.h"
#include "editor/TEditor.h"
#include "tex/TTeXCommand.h"

namespace {

const QByteArray C("\x1b" "c");
const QByteArray H("\x1b" "h");
const QByteArray N("\x1b" "n");

// A shown main window with candidate lists of its own.
class CompletionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Write("TeX_Command.txt", "\\subsection{" + C + "}" + H + "\r\n\\section{" + C + "}" + H +
                                     "\x90\xdf\x8c\xa9\x8f\x6f\x82\xb5" + N + "two\r\n\\left(" + C + " \\right)" + H +
                                     "\r\n\\alpha" + H + "\r\n");
        Write("TeX_Command_SP.txt", "\\sqbad{" + C + "}" + H + "\r\n");
        Write("TeX_Command_Math.txt", "\\sqrt{" + C + "}" + H + "\r\n");
        Write("TeX_Template.txt", "%table" + N + "\\begin{table}" + N + C + N + "\\end{table}" + H + "\r\n%figure" +
                                      N + "\\begin{figure}" + N + "  " + C + N + "\\end{figure}" + H + "fig\r\n");
        form_ = std::make_unique<TFormMain>(dir_.filePath(QStringLiteral("Scrivlet.ini")));
        EXPECT_TRUE(form_->Completion->CreateLists(dir_.path()).isEmpty());
        form_->show();
        form_->Editor->setFocus();
    }
    void Write(const char* name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TEditor* Editor() const { return form_->Editor; }
    TEditorCore& Core() const { return form_->Editor->Core(); }
    QListWidget* List() const { return form_->SerchList; }
    CommandCompletion& Completion() const { return *form_->Completion; }
    std::string Text() const { return Core().Lines().GetTextStr(); }
    void Type(const char* keys) { QTest::keyClicks(Editor(), QString::fromUtf8(keys)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(Editor(), key, mods); }
    QStringList Items() const
    {
        QStringList items;
        for (int i = 0; i < List()->count(); ++i)
            items << List()->item(i)->text();
        return items;
    }
    // The caret's logical line and byte index.
    std::pair<int, int> Caret() const
    {
        return {Core().RowToLine(Core().Row()), Core().RowColToCharIndex(Core().Row(), Core().Col())};
    }
    void Compose(const QString& preedit, const QString& commit = {})
    {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QCoreApplication::sendEvent(Editor(), &event);
    }

    QTemporaryDir dir_;
    std::unique_ptr<TFormMain> form_;
};

TEST_F(CompletionTest, TypingNarrowsTheListAndEnterInsertsTheCommandWithItsHelp)
{
    Type("ab \\sec");
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(Items(), QStringList{QStringLiteral("\\section{}")});
    EXPECT_EQ(List()->currentRow(), -1);  // nothing selected until Down
    EXPECT_EQ(List()->focusPolicy(), Qt::NoFocus);
    EXPECT_NE(QApplication::focusWidget(), List());
    Key(Qt::Key_Down);
    EXPECT_EQ(List()->currentRow(), 0);
    Key(Qt::Key_Return);
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(Text(), "ab \\section{}");  // no line break added
    EXPECT_EQ(Caret(), std::make_pair(0, 12));
    EXPECT_EQ(form_->FormHelpWindow->Memo1->toPlainText(), QStringLiteral("節見出し\ntwo"));
    EXPECT_TRUE(form_->FormHelpWindow->isHidden());
    EXPECT_FALSE(Completion().SwallowEnter());
    // One undo step takes the insertion back.
    Core().Undo();
    EXPECT_EQ(Text(), "ab \\sec");

    // A blank after the typed text hides the list; the substring test
    // offers \left( \right) for "\ri".
    Core().Lines().SetTextStr("");
    Type("\\sec ");
    EXPECT_FALSE(List()->isVisible());
    Type("\\ri");
    EXPECT_EQ(Items(), QStringList{QStringLiteral("\\left( \\right)")});
}

TEST_F(CompletionTest, KeysWhileTheListShows)
{
    Core().Lines().SetTextStr("above\r\n\r\nbelow");
    Core().SetRowCol(1, 0);
    // Up on the first item hides the list and the caret moves up.
    Type("\\s");
    ASSERT_EQ(List()->count(), 2);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(List()->currentRow(), 0);
    EXPECT_EQ(Caret().first, 1);
    Key(Qt::Key_Up);
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(Caret().first, 0);
    EXPECT_EQ(Completion().CandidateKind(), 1);

    // Down on the last item hides it and the caret moves down.
    Core().SetRowCol(1, 2);
    Type("\\");
    Type("s");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(List()->currentRow(), 1);
    Key(Qt::Key_Left);  // taken while the list shows
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    Key(Qt::Key_Down);
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(Caret().first, 2);

    // Enter with nothing selected hides the list and starts a new line.
    Core().Lines().SetTextStr("");
    Type("\\s");
    Key(Qt::Key_Return);
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(Text(), "\\s\r\n");

    // Escape hides it and types nothing.
    Core().Lines().SetTextStr("");
    Type("\\s");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(Text(), "\\s");
}

TEST_F(CompletionTest, ASecondBackslashIsALineBreakWithoutAList)
{
    Type("a\\\\");
    EXPECT_FALSE(List()->isVisible());
    EXPECT_EQ(Text(), "a\\\\");
    // After a kanji whose second byte is 0x5C the backslash opens the list.
    Core().Lines().SetTextStr("\x95\x5C");
    Core().SetRowCol(0, 2);
    Type("\\");
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(Text(), "\x95\x5C\\");
}

TEST_F(CompletionTest, CtrlBackslashOffersSetUpCommandsOrInsideMathTheMathList)
{
    Key(Qt::Key_Backslash, Qt::ControlModifier);
    EXPECT_EQ(Text(), "\\");
    EXPECT_EQ(Completion().CandidateKind(), 2);
    Type("sq");
    EXPECT_EQ(Items(), QStringList{QStringLiteral("\\sqbad{}")});
    Key(Qt::Key_Escape);

    Core().Lines().SetTextStr("x $a+$");
    Core().SetRowCol(0, 5);
    Key(Qt::Key_Backslash, Qt::ControlModifier);
    EXPECT_EQ(Text(), "x $a+\\$");
    EXPECT_EQ(Completion().CandidateKind(), 3);
    Type("s");
    EXPECT_EQ(Items(), QStringList{QStringLiteral("\\sqrt{}")});
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "x $a+\\sqrt{}$");
    EXPECT_EQ(Completion().CandidateKind(), 1);

    // The math delimiter lists are the live ones.
    Core().Lines().SetTextStr("top\r\n\\[\r\n\r\n\\]");
    Core().SetRowCol(2, 0);
    Type("\\");
    EXPECT_EQ(Completion().CandidateKind(), 3);
    Key(Qt::Key_Escape);
    form_->BeginMath.clear();
    Type("\\");
    EXPECT_EQ(Completion().CandidateKind(), 1);
}

TEST_F(CompletionTest, PercentAtTheLineStartOffersTemplatesThatReplaceTheLine)
{
    Core().Lines().SetTextStr("before\r\n\r\nafter");
    Core().SetRowCol(1, 0);
    Type("%");
    EXPECT_EQ(Completion().CandidateKind(), 4);
    EXPECT_EQ(Items(), (QStringList{QStringLiteral("%figure"), QStringLiteral("%table")}));
    Type("f");
    EXPECT_EQ(Items(), QStringList{QStringLiteral("%figure")});
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "before\r\n%figure\r\n\\begin{figure}\r\n  \r\n\\end{figure}\r\nafter");
    EXPECT_EQ(Caret(), std::make_pair(3, 2));
    EXPECT_EQ(form_->FormHelpWindow->Memo1->toPlainText(), QStringLiteral("fig"));
    // "%" anywhere else is only text.
    Core().SetRowCol(0, 3);
    Type("%");
    EXPECT_FALSE(List()->isVisible());
}

TEST_F(CompletionTest, ADoubleClickAcceptsTheSelectedOrFirstItem)
{
    Type("\\s");
    ASSERT_TRUE(List()->isVisible());
    Completion().SerchListDblClick();
    EXPECT_EQ(Text(), "\\section{}");  // the list sorts its names
    EXPECT_FALSE(List()->isVisible());
}

TEST_F(CompletionTest, TheListOpensAboveOrLeftWhereItWouldNotFit)
{
    QListWidget* list = List();
    const int h = list->height();
    const int w = list->width();
    Completion().PlaceCompletion(20, 30);
    EXPECT_EQ(list->pos(), QPoint(29, 20 + Core().FontHeight() + 2));
    Completion().PlaceCompletion(Editor()->height() - 20, Editor()->width() - 20);
    EXPECT_EQ(list->pos(), QPoint(Editor()->width() - 21 - w, Editor()->height() - 20 - h + 2));
}

TEST_F(CompletionTest, TheBackslashKeyTakenByAnInputMethod)
{
    // The preedit goes from nothing to "￥": taken for the key.
    Compose(QStringLiteral("￥"));
    EXPECT_EQ(Text(), "\\");
    EXPECT_TRUE(List()->isVisible());
    EXPECT_FALSE(Editor()->Preedit().Active());
    EXPECT_TRUE(Completion().InputMethodSwitchedOff());
    EXPECT_FALSE(Editor()->inputMethodQuery(Qt::ImEnabled).toBool());
    // Leftovers of the cancelled composition do not reach the text.
    Compose({}, QStringLiteral("￥"));
    EXPECT_EQ(Text(), "\\");
    Type("sec");
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "\\section{}");
    EXPECT_FALSE(Completion().InputMethodSwitchedOff());
    EXPECT_TRUE(Editor()->inputMethodQuery(Qt::ImEnabled).toBool());

    // A "￥" later in a composition is text.
    Compose(QStringLiteral("ねだん"));
    Compose(QStringLiteral("ねだん￥"));
    Compose({}, QStringLiteral("ねだん￥"));
    EXPECT_EQ(Text(), "\\section{\x82\xcb\x82\xbe\x82\xf1\x81\x8f}");
    EXPECT_FALSE(List()->isVisible());

    // A one-character commit without a preedit before it: the key as well.
    Core().Lines().SetTextStr("");
    Compose({}, QStringLiteral("＼"));
    EXPECT_EQ(Text(), "\\");
    EXPECT_TRUE(List()->isVisible());
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Editor()->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST(CommandCompletionLists, TheFourListsTheirKindsAndTheReportOfUnreadFiles)
{
    QTemporaryDir dir;
    TFormMain form(dir.filePath(QStringLiteral("Scrivlet.ini")));
    QFile math(dir.filePath(QStringLiteral("TeX_Command_Math.txt")));
    ASSERT_TRUE(math.open(QIODevice::WriteOnly));
    math.write("\\alpha\x1bh\r\n");
    math.close();
    const QString report = form.Completion->CreateLists(dir.path());
    // Every unread file is named once, with the reason.
    EXPECT_TRUE(report.contains(QStringLiteral("TeX_Command.txt: ")));
    EXPECT_TRUE(report.contains(QStringLiteral("TeX_Command_SP.txt: ")));
    EXPECT_TRUE(report.contains(QStringLiteral("TeX_Template.txt: ")));
    EXPECT_FALSE(report.contains(QStringLiteral("TeX_Command_Math.txt")));
    EXPECT_TRUE(report.contains(QStringLiteral("ファイルまたはフォルダがありません")));
    EXPECT_EQ(form.ListForKind(3).Count(), 1);
    EXPECT_EQ(form.ListForKind(3).FileName(), "TeX_Command_Math.txt");
    EXPECT_EQ(form.ListForKind(2).FileName(), "TeX_Command_SP.txt");
    EXPECT_EQ(form.ListForKind(4).FileName(), "TeX_Template.txt");
    for (int kind : {0, 1, 5, -1})
        EXPECT_EQ(form.ListForKind(kind).FileName(), "TeX_Command.txt");
    EXPECT_EQ(form.ListForKind(1).Count(), 0);

    // F12 reads the files again and reports what is still missing, once.
    QFile commands(dir.filePath(QStringLiteral("TeX_Command.txt")));
    ASSERT_TRUE(commands.open(QIODevice::WriteOnly));
    commands.write("\\new\x1bh\r\n");
    commands.close();
    BoxAnswerer answerer;
    answerer.answer = QStringLiteral("OK");
    EXPECT_TRUE(form.RunAction(QStringLiteral("RunUpdateList")));
    EXPECT_EQ(answerer.asked, 1);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("TeX_Template.txt")));
    EXPECT_FALSE(answerer.texts[0].contains(QStringLiteral("TeX_Command.txt:")));
    EXPECT_EQ(form.ListForKind(1).IndexOfName("\\new"), 0);
}

}  // namespace
