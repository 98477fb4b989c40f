#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <limits>

#include "app/EditingAidActions.h"
#include "app/MenuActionList.h"
#include "app/TFormMain.h"
#include "dialogs/TFormFindReplace.h"
#include "dialogs/TFormYohaku.h"
#include "editor/TEditor.h"

namespace {

struct Form {
    QTemporaryDir dir;
    TFormMain form{dir.filePath(QStringLiteral("Scrivlet.ini"))};
    TEditorCore& e = form.Editor->Core();
    std::string Text() const { return form.Editor->Lines().GetTextStr(); }
};

QStringList ActionNames(const QMenu* menu)
{
    QStringList names;
    for (const QAction* a : menu->actions())
        names << a->objectName();
    return names;
}

TEST(EditingAidActions, EveryAidIsEnabledAndOfferedInItsMenusAndTheContextMenu)
{
    Form f;
    for (const char* name : {"SerchMarkup", "SerchUP", "SerchDown", "SerchFind1", "SerchReplace1", "SerchFindNext1",
                             "EditComentIn", "EditCommentOut", "EditCutLine", "EditMoveForward", "EditMoveLast",
                             "RunWordCount", "ToolYohaku"})
        EXPECT_TRUE(f.form.Actions()->Action(QString::fromLatin1(name))->isEnabled()) << name;
    const QStringList popup = ActionNames(f.form.PopupMenu1);
    for (const char* name : {"SerchMarkup", "SerchUP", "SerchDown"})
        EXPECT_TRUE(popup.contains(QString::fromLatin1(name))) << name;
    bool yohakuInTools = false;
    bool linesSubmenu = false;
    for (QToolButton* b : f.form.ToolBarMenu->findChildren<QToolButton*>()) {
        if (b->text() == QStringLiteral("ツール(&T)"))
            yohakuInTools = ActionNames(b->menu()).contains(QStringLiteral("ToolYohaku"));
        if (b->text() == QStringLiteral("編集(&E)"))
            for (QAction* a : b->menu()->actions())
                if (a->menu() && a->text() == QStringLiteral("行操作"))
                    linesSubmenu = ActionNames(a->menu()) ==
                                   QStringList({"EditComentIn", "EditCommentOut", "EditCutLine", "EditMoveForward",
                                                "EditMoveLast"});
    }
    EXPECT_TRUE(yohakuInTools);
    EXPECT_TRUE(linesSubmenu);
}

TEST(EditingAidActions, MarkingsToggleAndCtrlWheelJumpsBetweenThem)
{
    Form f;
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    f.form.Editor->Lines().SetTextStr(text);
    for (int row : {5, 30}) {
        f.e.SetRowCol(row, 2);
        EXPECT_TRUE(f.form.RunAction(QStringLiteral("SerchMarkup")));
    }
    EXPECT_EQ(f.e.GetRowMarks(30), 1);
    f.e.SetRowCol(20, 3);
    // Towards the user: down to the next marking; away: up.
    f.form.EditorMouseWheel(Qt::ControlModifier, -120);
    EXPECT_EQ(f.e.Row(), 30);
    EXPECT_EQ(f.e.Col(), 0);
    f.form.EditorMouseWheel(Qt::ControlModifier, 120);
    EXPECT_EQ(f.e.Row(), 5);
    EXPECT_TRUE(f.form.RunAction(QStringLiteral("SerchDown")));
    EXPECT_EQ(f.e.Row(), 30);
    EXPECT_TRUE(f.form.RunAction(QStringLiteral("SerchMarkup")));
    EXPECT_EQ(f.e.GetRowMarks(30), 0);
    EXPECT_TRUE(f.form.RunAction(QStringLiteral("SerchUP")));
    EXPECT_EQ(f.e.Row(), 5);
}

TEST(EditingAidActions, FindNextRepeatsTheDialogsRequestWhileItIsHiddenAndFindSwitchesReplaceOff)
{
    Form f;
    f.form.Editor->Lines().SetTextStr("abc abc abc");
    TFormFindReplace* dialog = f.form.EditingAids->FormFindReplace;
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("SerchReplace1")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->EditReplace->isEnabled());
    dialog->EditFind->setText(QStringLiteral("abc"));
    dialog->EditReplace->setText(QStringLiteral("表"));
    dialog->ButtonOK->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.Text(), "\x95\x5c abc abc");
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("SerchFindNext1")));
    EXPECT_EQ(f.Text(), "\x95\x5c \x95\x5c abc");
    // Back to find mode: the fields are kept, F3 only finds.
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("SerchFind1")));
    EXPECT_FALSE(dialog->EditReplace->isEnabled());
    EXPECT_EQ(dialog->EditFind->text(), QStringLiteral("abc"));
    EXPECT_EQ(dialog->EditReplace->text(), QStringLiteral("表"));
    dialog->ButtonCancel->click();
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("SerchFindNext1")));
    EXPECT_EQ(f.Text(), "\x95\x5c \x95\x5c abc");
    EXPECT_EQ(f.e.SelText(), "abc");
}

TEST(EditingAidActions, AFieldThatShiftJisCannotHoldIsReportedAndNothingIsReplaced)
{
    Form f;
    f.form.Editor->Lines().SetTextStr("abc");
    TFormFindReplace* dialog = f.form.EditingAids->FormFindReplace;
    QString told;
    dialog->ShowMessage = [&](const QString& message) { told = message; };
    f.form.RunAction(QStringLiteral("SerchReplace1"));
    dialog->EditFind->setText(QStringLiteral("abc"));
    dialog->EditReplace->setText(QStringLiteral("x😀"));
    dialog->ButtonOKClick();
    EXPECT_TRUE(told.contains(QStringLiteral("U+1F600"))) << told.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(f.Text(), "abc");
    dialog->ButtonCancelClick();
}

TEST(EditingAidActions, WordCountTellsTheSelectedCharactersUnderTheApplicationTitle)
{
    Form f;
    QString title;
    QString text;
    f.form.EditingAids->ShowMessage = [&](const QString& t, const QString& m) {
        title = t;
        text = m;
    };
    f.form.Editor->Lines().SetTextStr("ab\r\n\x82\xa0\x8a\xbf\r\n");
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("RunWordCount")));
    EXPECT_EQ(text, QStringLiteral("選択文字列は0字です。"));
    EXPECT_EQ(title, QApplication::applicationName());
    f.e.Select(0, 0, 1, 4);
    f.form.RunAction(QStringLiteral("RunWordCount"));
    EXPECT_EQ(text, QStringLiteral("選択文字列は4字です。"));
}

TEST(EditingAidActions, LineActionsActOnTheEditorAndCutLineFillsTheClipboard)
{
    Form f;
    f.form.Editor->Lines().SetTextStr("one\r\ntwo\r\nthree\r\n");
    f.e.Select(0, 1, 2, 0);
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("EditComentIn")));
    EXPECT_EQ(f.Text(), "%one\r\n%two\r\n%three\r\n");
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("EditUndo1")));
    EXPECT_EQ(f.Text(), "one\r\ntwo\r\nthree\r\n");
    f.e.SetRowCol(1, 1);
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("EditCutLine")));
    EXPECT_EQ(f.Text(), "one\r\nthree\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("two"));
    EXPECT_EQ(f.form.Editor->ClipboardBytes(), std::optional<std::string>("two"));
}

TEST(EditingAidActions, MarginDialogCopiesTheCheckedLinesAndKeepsItsValuesWhenClosed)
{
    Form f;
    TFormYohaku* dialog = f.form.EditingAids->FormYohaku;
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("ToolYohaku")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("余白設定"));
    QApplication::clipboard()->setText(QStringLiteral("old"));
    dialog->Button1->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString());
    dialog->CheckLeftMargin->setChecked(true);
    dialog->SpinLeftMargin->setValue(25);
    dialog->CheckTopMargin->setChecked(true);
    dialog->SpinTopMargin->setValue(-5);
    dialog->CheckBottomMargin->setChecked(true);
    dialog->SpinBottomMargin->setValue(20);
    dialog->Button1->click();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("% 下余白 20mm")));
    EXPECT_TRUE(copied.endsWith(QStringLiteral(
        "\\setlength{\\oddsidemargin}{25mm}\r\n\\setlength{\\topmargin}{-5mm}\r\n")));
    dialog->ButtonOK->click();
    EXPECT_FALSE(dialog->isVisible());
    f.form.RunAction(QStringLiteral("ToolYohaku"));
    EXPECT_TRUE(dialog->CheckLeftMargin->isChecked());
    EXPECT_EQ(dialog->SpinTopMargin->value(), -5);
    EXPECT_EQ(dialog->SpinTopMargin->minimum(), std::numeric_limits<int>::min());
}

}  // namespace

namespace {

// Whether the image bar's part of `row` holds the marking flag's red.
bool FlagShownOnRow(TEditor& editor, int row)
{
    QImage image(editor.viewport()->size(), QImage::Format_RGB32);
    editor.viewport()->render(&image);
    const TEditorCore& c = editor.Core();
    const int top = c.TextAreaTop() + (row - c.TopRow()) * c.RowHeight();
    for (int y = top; y < top + c.RowHeight(); ++y)
        for (int x = 0; x < c.Imagebar().Width(); ++x)
            if (QColor(image.pixel(x, y)) == QColor(0xD0, 0x20, 0x20))
                return true;
    return false;
}

TEST(EditingAidActions, AMarkedRowShowsTheFlagInTheImageBar)
{
    Form f;
    f.form.resize(640, 480);
    f.form.show();
    f.form.Editor->Lines().SetTextStr("a\r\nb\r\nc\r\n");
    f.e.SetRowCol(1, 0);
    f.form.RunAction(QStringLiteral("SerchMarkup"));
    EXPECT_TRUE(FlagShownOnRow(*f.form.Editor, 1));
    EXPECT_FALSE(FlagShownOnRow(*f.form.Editor, 0));
    f.form.RunAction(QStringLiteral("SerchMarkup"));
    EXPECT_FALSE(FlagShownOnRow(*f.form.Editor, 1));
}

}  // namespace
