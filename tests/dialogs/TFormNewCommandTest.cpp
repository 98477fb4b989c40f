#include <QApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/ScratchFolder.h"
#include "dialogs/TFormNewCommand.h"
#include "editor/TEditor.h"

namespace {

const std::string C(TTeXCommand::CaretMarker);
const std::string H(TTeXCommand::HelpSeparator);
const std::string N(TTeXCommand::LineBreakMarker);

const std::string kNormal = "\\section{" + C + "}" + H + "sec\r\n\\label{" + C + "}" + H + "lab\r\n";
const std::string kSetUp = "\\documentclass{" + C + "}" + H + "cls\r\n";
const std::string kMath = "\\frac{" + C + "}{}" + H + "frac\r\n";
const std::string kTemplate = "%env" + N + "\\begin{center}" + N + C + N + "\\end{center}" + H + "one" + N + "two\r\n";

struct Fixture {
    ScratchFolder folder{"form-new-command"};
    TFormNewCommand form{QString::fromStdString(folder.String())};
    QStringList messages;

    Fixture()
    {
        folder.Write("TeX_Command.txt", kNormal);
        folder.Write("TeX_Command_SP.txt", kSetUp);
        folder.Write("TeX_Command_Math.txt", kMath);
        folder.Write("TeX_Template.txt", kTemplate);
        form.ShowMessage = [this](const QString& message) { messages << message; };
    }
    void Show()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QStringList Shown() const
    {
        QStringList names;
        for (int i = 0; i < form.CommandListBox->count(); ++i)
            names << form.CommandListBox->item(i)->text();
        return names;
    }
    void Click(int row)
    {
        form.CommandListBox->setCurrentRow(row);
        form.CommandListBoxClick();
    }
    void Choose(int item) { form.RGCommandItems[item]->click(); }
    // The editor's lines and its caret as (logical line, byte offset).
    std::vector<std::string> EditorLines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < form.Editing->Lines().GetCount(); ++i)
            lines.push_back(form.Editing->Lines().Get(i));
        return lines;
    }
    std::pair<int, int> Caret()
    {
        const TEditorCore& e = form.Editing->Core();
        return {e.RowToLine(e.Row()), e.RowColToCharIndex(e.Row(), e.Col())};
    }
};

TEST(TFormNewCommand, IsAModelessWindowWithItsControlsAndAPlainTextEditor)
{
    Fixture f;
    EXPECT_EQ(f.form.windowTitle(), QStringLiteral("コマンドの編集"));
    EXPECT_EQ(f.form.size(), QSize(621, 435));
    EXPECT_FALSE(f.form.isModal());
    EXPECT_EQ(f.form.RGCommand->title(), QStringLiteral("コマンドの種類の選択"));
    ASSERT_EQ(f.form.RGCommandItems.size(), 4);
    const char* items[] = {"初期化等コマンド", "通常コマンド", "数学コマンド", "テンプレート"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.form.RGCommandItems[i]->text(), QString::fromUtf8(items[i]));
    EXPECT_EQ(f.form.ItemIndex(), 1);
    EXPECT_EQ(f.form.GroupBox1->title(), QStringLiteral("編集するコマンド"));
    EXPECT_EQ(f.form.GroupBox2->title(), QStringLiteral("コマンド"));
    EXPECT_EQ(f.form.GroupBox3->title(), QStringLiteral("コマンドヘルプ"));
    EXPECT_EQ(f.form.BtnAdd->text(), QStringLiteral("追加"));
    EXPECT_EQ(f.form.BtnEdit->text(), QStringLiteral("編集"));
    EXPECT_EQ(f.form.BtnDelete->text(), QStringLiteral("削除"));
    EXPECT_EQ(f.form.BtnOK->text(), QStringLiteral("OK"));
    EXPECT_FALSE(f.form.BtnEdit->isEnabled());

    TEditorCore& e = f.form.Editing->Core();
    EXPECT_TRUE(e.WordWrap());
    EXPECT_EQ(e.WrapOption().WrapByte(), 80);
    EXPECT_EQ(e.ScrollBars(), ssNone);
    EXPECT_TRUE(e.Leftbar().Visible());
    EXPECT_TRUE(e.Leftbar().ShowNumber());
    EXPECT_TRUE(e.Ruler().Visible());
    EXPECT_FALSE(e.Marks().RetMark.Visible());
    EXPECT_FALSE(e.Marks().EofMark.Visible());
    EXPECT_FALSE(e.Marks().WrapMark.Visible());
    EXPECT_EQ(e.View().Commenter(), "%");
    EXPECT_FALSE(e.Caret().FreeCaret());
}

TEST(TFormNewCommand, ShowsTheSelectedListSortedAndARadioClickSwitchesListsAndDiscardsTheEditor)
{
    Fixture f;
    f.Show();
    EXPECT_EQ(f.Shown(), (QStringList{"\\label{}", "\\section{}"}));
    f.Click(0);
    EXPECT_TRUE(f.form.BtnEdit->isEnabled());
    f.Choose(0);
    EXPECT_EQ(f.Shown(), QStringList{"\\documentclass{}"});
    EXPECT_FALSE(f.form.BtnEdit->isEnabled());
    EXPECT_TRUE(f.EditorLines().empty());
    EXPECT_TRUE(f.form.MemoHelp->toPlainText().isEmpty());
    f.Choose(2);
    EXPECT_EQ(f.Shown(), QStringList{"\\frac{}{}"});
    f.Choose(3);
    EXPECT_EQ(f.Shown(), QStringList{"%env"});
}

TEST(TFormNewCommand, AClickedEntryFillsTheEditorWithTheCaretAtItsMarkerAndTheHelpByLines)
{
    Fixture f;
    f.Show();
    f.Choose(3);
    f.Click(0);
    EXPECT_EQ(f.EditorLines(), (std::vector<std::string>{"%env", "\\begin{center}", "", "\\end{center}"}));
    EXPECT_EQ(f.Caret(), std::make_pair(2, 0));
    EXPECT_TRUE(f.form.Editing->hasFocus());
    EXPECT_EQ(f.form.MemoHelp->toPlainText(), QStringLiteral("one\ntwo"));

    f.Choose(1);
    f.Click(1);  // \section{}
    EXPECT_EQ(f.Caret(), std::make_pair(0, 9));
}

TEST(TFormNewCommand, AddStoresTheTypedCommandWithTheCaretWhereItStoodAndShowsItAtItsPlace)
{
    Fixture f;
    f.Show();
    f.form.Editing->setFocus();
    QTest::keyClicks(f.form.Editing, "\\cite{}");
    QTest::keyClick(f.form.Editing, Qt::Key_Left);
    f.form.MemoHelp->setPlainText(QStringLiteral("文献を引用する\n引数: キー"));
    QTest::mouseClick(f.form.BtnAdd, Qt::LeftButton);
    EXPECT_EQ(f.Shown(), (QStringList{"\\cite{}", "\\label{}", "\\section{}"}));
    EXPECT_TRUE(f.EditorLines().empty());
    EXPECT_TRUE(f.form.MemoHelp->toPlainText().isEmpty());

    // Chosen again, the caret is back inside the braces and the help on two lines.
    f.Click(0);
    EXPECT_EQ(f.EditorLines(), std::vector<std::string>{"\\cite{}"});
    EXPECT_EQ(f.Caret(), std::make_pair(0, 6));
    EXPECT_EQ(f.form.MemoHelp->toPlainText(), QStringLiteral("文献を引用する\n引数: キー"));

    // An empty first line adds nothing, and still clears both boxes.
    f.form.Editing->Lines().SetTextStr("\r\n\\x");
    ASSERT_EQ(f.EditorLines(), (std::vector<std::string>{"", "\\x"}));
    f.form.MemoHelp->setPlainText(QStringLiteral("h"));
    f.form.BtnAddClick();
    EXPECT_EQ(f.Shown().size(), 3);
    EXPECT_TRUE(f.EditorLines().empty());
    EXPECT_TRUE(f.form.MemoHelp->toPlainText().isEmpty());
}

TEST(TFormNewCommand, EditReplacesTheSelectedEntryAndDeleteRemovesIt)
{
    Fixture f;
    f.Show();
    f.Click(1);  // \section{}
    f.form.Editing->Lines().Put(0, "\\section*{}");
    f.form.Editing->Core().SetCaretByIndex(0, 10);
    QTest::mouseClick(f.form.BtnEdit, Qt::LeftButton);
    EXPECT_EQ(f.Shown(), (QStringList{"\\label{}", "\\section*{}"}));
    EXPECT_FALSE(f.form.BtnEdit->isEnabled());
    EXPECT_EQ(f.form.Lists().List(1).Entries()[1], "\\section*{" + C + "}" + H + "sec");

    // Edit with an empty first line: the entry goes and nothing comes.
    f.Click(1);
    f.form.Editing->Lines().Clear();
    f.form.BtnEditClick();
    EXPECT_EQ(f.Shown(), QStringList{"\\label{}"});

    f.Click(0);
    QTest::mouseClick(f.form.BtnDelete, Qt::LeftButton);
    EXPECT_TRUE(f.Shown().isEmpty());
    EXPECT_FALSE(f.form.BtnEdit->isEnabled());
    // Delete with nothing selected changes nothing.
    f.Choose(0);
    f.form.BtnDeleteClick();
    EXPECT_EQ(f.Shown(), QStringList{"\\documentclass{}"});
}

TEST(TFormNewCommand, OkWritesAllFourFilesAndClosingWithoutOkWritesNothing)
{
    Fixture f;
    f.Show();
    f.Click(0);
    f.form.BtnDeleteClick();
    f.form.close();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.folder.Read("TeX_Command.txt"), kNormal);

    // The next showing loads the files again: the deleted entry is back.
    f.Show();
    EXPECT_EQ(f.Shown(), (QStringList{"\\label{}", "\\section{}"}));
    std::filesystem::remove(f.folder.Path() / "TeX_Command_Math.txt");  // written anyway, empty
    f.Click(0);
    f.form.BtnDeleteClick();
    QTest::mouseClick(f.form.BtnOK, Qt::LeftButton);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_TRUE(f.messages.isEmpty());
    EXPECT_EQ(f.folder.Read("TeX_Command.txt"), "\\section{" + C + "}" + H + "sec\r\n");
    EXPECT_EQ(f.folder.Read("TeX_Command_SP.txt"), kSetUp);
    EXPECT_EQ(f.folder.Read("TeX_Template.txt"), kTemplate);
    EXPECT_TRUE(f.folder.Exists("TeX_Command_Math.txt"));
}

TEST(TFormNewCommand, AListThatCannotBeWrittenIsNamedAndTheDialogKeepsWhatWasTyped)
{
    Fixture f;
    f.Show();
    f.Choose(3);
    f.form.Editing->Lines().Add("%new");
    f.form.BtnAddClick();
    // The file's place is taken by a folder: the save cannot replace it.
    std::filesystem::remove(f.folder.Path() / "TeX_Template.txt");
    std::filesystem::create_directory(f.folder.Path() / "TeX_Template.txt");
    f.form.BtnOKClick();
    ASSERT_EQ(f.messages.size(), 1);
    EXPECT_TRUE(f.messages[0].contains(QStringLiteral("TeX_Template.txt"))) << f.messages[0].toStdString();
    EXPECT_TRUE(f.form.isVisible());
    EXPECT_EQ(f.Shown(), (QStringList{"%env", "%new"}));

    // Once the place is free again, OK writes the list as it stands.
    std::filesystem::remove(f.folder.Path() / "TeX_Template.txt");
    f.form.BtnOKClick();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.folder.Read("TeX_Template.txt"), kTemplate + "%new" + C + H + "\r\n");
}

TEST(TFormNewCommand, HelpTheCodePageCannotHoldIsRefusedWithTheTextKept)
{
    Fixture f;
    f.Show();
    f.Click(1);
    f.form.MemoHelp->setPlainText(QStringLiteral("節 \U0001F600"));
    f.form.BtnEditClick();
    ASSERT_EQ(f.messages.size(), 1);
    // Nothing deleted, nothing cleared.
    EXPECT_EQ(f.Shown(), (QStringList{"\\label{}", "\\section{}"}));
    EXPECT_EQ(f.EditorLines(), std::vector<std::string>{"\\section{}"});
    EXPECT_TRUE(f.form.BtnEdit->isEnabled());
    f.form.BtnAddClick();
    EXPECT_EQ(f.messages.size(), 2);
    EXPECT_EQ(f.Shown().size(), 2);
}

TEST(TFormNewCommand, AnUnreadableListIsReportedOnShowingAndLeftAloneByOk)
{
    Fixture f;
    std::filesystem::remove(f.folder.Path() / "TeX_Command_SP.txt");
    std::filesystem::create_directory(f.folder.Path() / "TeX_Command_SP.txt");
    f.Show();
    QTRY_COMPARE(f.messages.size(), 1);
    EXPECT_TRUE(f.messages[0].contains(QStringLiteral("TeX_Command_SP.txt")));
    f.form.BtnOKClick();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_TRUE(std::filesystem::is_directory(f.folder.Path() / "TeX_Command_SP.txt"));
}

}  // namespace
