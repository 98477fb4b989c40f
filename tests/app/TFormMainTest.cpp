#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "app/TFormMain.h"
#include "editor/TEditor.h"

namespace {

TEST(TFormMain, ActionTableHasEveryCommandWithItsShortcutAndUnbuiltOnesDisabled)
{
    TFormMain form;
    MenuActionList* list = form.Actions();
    EXPECT_EQ(list->Actions().size(), MenuActionList::Specs().size());
    QAction* redo = list->Action(QStringLiteral("EditRedo1"));
    ASSERT_TRUE(redo);
    EXPECT_EQ(redo->shortcut().toString(), QStringLiteral("Ctrl+Alt+Z"));
    EXPECT_EQ(list->Action(QStringLiteral("EditUndo1"))->toolTip(), QStringLiteral("元に戻す"));
    EXPECT_EQ(list->Action(QStringLiteral("EditUndo1"))->statusTip(), QStringLiteral("直前の変更を元に戻す"));
    EXPECT_EQ(list->Action(QStringLiteral("SerchFindNext1"))->shortcut().toString(), QStringLiteral("F3"));
    // Not built yet: present but cannot run.
    EXPECT_FALSE(list->Action(QStringLiteral("RunLaTeX"))->isEnabled());
    EXPECT_FALSE(form.RunAction(QStringLiteral("RunLaTeX")));
    EXPECT_FALSE(form.RunAction(QStringLiteral("NoSuchAction")));
    // Built: the editing actions act on the editor.
    form.Editor->Lines().SetTextStr("abc");
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditSelectAll1")));
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditDelete1")));
    EXPECT_EQ(form.Editor->Lines().GetTextStr(), "");
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditUndo1")));
    EXPECT_EQ(form.Editor->Lines().GetTextStr(), "abc");
}

TEST(TFormMain, StartsWithTheDesignedLayoutAndTheSectionTab)
{
    TFormMain form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Scrivlet"));
    EXPECT_EQ(form.geometry(), QRect(100, 100, 640, 480));
    EXPECT_EQ(form.PageStatus->count(), 4);
    EXPECT_EQ(form.PageStatus->tabText(form.PageStatus->currentIndex()), QStringLiteral("Section"));
    EXPECT_EQ(form.PageStatus->tabText(3), QStringLiteral("エラー"));
    EXPECT_TRUE(form.SerchList->isHidden());
    const TEditorCore& e = form.Editor->Core();
    EXPECT_EQ(e.Leftbar().ShowNumberMode(), nmLine);
    EXPECT_EQ(e.View().Commenter(), "%");
    EXPECT_EQ(e.ScrollBars(), ssVertical);
    EXPECT_TRUE(e.View().ReserveWordList().IndexOf("subsection") >= 0);
    // The menu band's captions.
    QStringList captions;
    for (QToolButton* b : form.ToolBarMenu->findChildren<QToolButton*>())
        captions << b->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("ファイル(&F)")));
    EXPECT_TRUE(captions.contains(QStringLiteral("ヘルプ(&H)")));
}

TEST(TFormMain, SidePanelToggleTwiceRestoresTheLayoutAndHidesTheSplitterWithIt)
{
    TFormMain form;
    form.show();
    ASSERT_TRUE(form.SidePanelVisible());
    form.RunAction(QStringLiteral("DisplayStatus"));
    EXPECT_FALSE(form.SidePanelVisible());
    EXPECT_FALSE(form.Splitter1->handle(1)->isVisible());
    form.RunAction(QStringLiteral("DisplayStatus"));
    EXPECT_TRUE(form.SidePanelVisible());
    EXPECT_TRUE(form.Splitter1->handle(1)->isVisible());
}

TEST(TFormMain, WheelMovesTheCaretByLinesOrTheViewByTwoRows)
{
    TFormMain form;
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\r\n";
    form.Editor->Lines().SetTextStr(text);
    TEditorCore& e = form.Editor->Core();

    form.WheelMove = true;
    e.SetRowCol(10, 2);
    form.EditorMouseWheel({}, -120);
    form.EditorMouseWheel({}, -120);
    EXPECT_EQ(e.Row(), 12);
    EXPECT_EQ(e.Col(), 2);
    e.SetRowCol(0, 0);
    form.EditorMouseWheel({}, 120);  // away from the user on the first line
    EXPECT_EQ(e.Row(), 0);

    form.WheelMove = false;
    e.SetTopRow(0);
    form.EditorMouseWheel({}, 120);
    EXPECT_EQ(e.TopRow(), 0);
    form.EditorMouseWheel({}, -120);
    EXPECT_EQ(e.TopRow(), 2);
    EXPECT_EQ(e.Row(), 0);  // the caret stays

    // Ctrl never scrolls or moves by lines.
    form.EditorMouseWheel(Qt::ControlModifier, -120);
    EXPECT_EQ(e.TopRow(), 2);
    EXPECT_EQ(e.Row(), 0);
}

}  // namespace
