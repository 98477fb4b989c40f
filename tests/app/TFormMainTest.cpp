#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "app/TFormMain.h"
#include "editor/TEditor.h"

namespace {

// A main window with settings of its own, as on a first run.
struct FreshForm {
    QTemporaryDir dir;
    TFormMain form{dir.filePath(QStringLiteral("Scrivlet.ini"))};
};

TEST(TFormMain, ActionTableHasEveryCommandWithItsShortcutAndUnbuiltOnesDisabled)
{
    FreshForm fresh;
    TFormMain& form = fresh.form;
    MenuActionList* list = form.Actions();
    EXPECT_EQ(list->Actions().size(), MenuActionList::Entries().size());
    QAction* redo = list->Action(QStringLiteral("EditRedo1"));
    ASSERT_TRUE(redo);
    EXPECT_EQ(redo->shortcut().toString(), QStringLiteral("Ctrl+Alt+Z"));
    EXPECT_EQ(list->Action(QStringLiteral("EditUndo1"))->toolTip(), QStringLiteral("元に戻す"));
    EXPECT_EQ(list->Action(QStringLiteral("EditUndo1"))->statusTip(), QStringLiteral("直前の変更を元に戻す"));
    EXPECT_EQ(list->Action(QStringLiteral("SerchFindNext1"))->shortcut().toString(), QStringLiteral("F3"));
    // Not built yet: present but cannot run.
    EXPECT_FALSE(list->Action(QStringLiteral("RunLaTeX"))->isEnabled());
    EXPECT_TRUE(list->Action(QStringLiteral("FileSave1"))->isEnabled());
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
    FreshForm fresh;
    TFormMain& form = fresh.form;
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
    FreshForm fresh;
    TFormMain& form = fresh.form;
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
    FreshForm fresh;
    TFormMain& form = fresh.form;
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

TEST(TFormMain, SettingsWrittenAtTheEndAreReadAtTheNextStart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Scrivlet.ini"));
    {
        TFormMain form(path);
        form.LaTeXPath = QStringLiteral("/usr/bin/platex");
        form.WheelMove = false;
        form.setGeometry(120, 130, 600, 400);
        form.DisplayStatusExecute();
        form.Editor->Core().Ruler().SetVisible(false);
        form.Editor->Core().SetWordWrap(true);
        form.Actions()->Action(QStringLiteral("FileNew"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+N")));
        form.EditorPropSetting.Assign(form.Editor->Core());
    }
    TFormMain form(path);
    EXPECT_EQ(form.LaTeXPath, QStringLiteral("/usr/bin/platex"));
    EXPECT_FALSE(form.WheelMove);
    EXPECT_EQ(form.geometry(), QRect(120, 130, 600, 400));
    EXPECT_FALSE(form.SidePanelVisible());
    EXPECT_FALSE(form.Editor->Core().Ruler().Visible());
    EXPECT_TRUE(form.Editor->Core().WordWrap());
    EXPECT_EQ(form.Actions()->Action(QStringLiteral("FileNew"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    EXPECT_FALSE(form.FirstRunCheck());
}

}  // namespace

#include "app/ErrorReport.h"

namespace {

TEST(ErrorReport, AddsAFullStopOnlyWhenTheTextHasNone)
{
    EXPECT_EQ(ErrorReportText(QStringLiteral("ファイルを開けません")), QStringLiteral("ファイルを開けません."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("Cannot open the file.")), QStringLiteral("Cannot open the file."));
    EXPECT_EQ(ErrorReportText(QStringLiteral("開けません。")), QStringLiteral("開けません。"));
}

}  // namespace
