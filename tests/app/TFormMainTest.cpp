#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "../support/BoxAnswerer.h"
#include "app/TFormMain.h"
#include "editor/TEditor.h"

#include <QFile>
#include <QWheelEvent>
#include <memory>

namespace {

// A main window with settings of its own, as on a first run.
struct FreshForm {
    QTemporaryDir dir;
    TFormMain form{dir.filePath(QStringLiteral("Scrivlet.ini"))};
};

TEST(TFormMain, ActionTableHasEveryCommandWithItsShortcutAndEveryOneRuns)
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
    // Every command of the table is connected: none stands disabled.
    for (QAction* action : list->Actions())
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_FALSE(form.RunAction(QStringLiteral("NoSuchAction")));
    // Built: the editing actions act on the editor.
    form.Editor->Lines().SetTextStr("abc");
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditSelectAll1")));
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditDelete1")));
    EXPECT_EQ(form.Editor->Lines().GetTextStr(), "");
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditUndo1")));
    EXPECT_EQ(form.Editor->Lines().GetTextStr(), "abc");
}

TEST(TFormMain, StartsWithItsLayoutAndTheSectionTab)
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

TEST(TFormMain, ACloseRequestAsksOnceThenTheRunEndsAndWritesTheSettingsOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Scrivlet.ini"));
    auto form = std::make_unique<TFormMain>(path);
    // As the program wires it: the exit action ends the message loop.
    QObject::connect(form.get(), &TFormMain::Terminated, qApp, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    form->show();
    form->Editor->Core().KeyPress("x");
    BoxAnswerer answerer;

    answerer.answer = QStringLiteral("キャンセル");
    EXPECT_FALSE(form->close());
    EXPECT_EQ(answerer.asked, 1);
    EXPECT_FALSE(form->Quitting());
    EXPECT_TRUE(form->isVisible());

    // The application's own quit closes every window: the question comes
    // once, and after No the loop ends instead of asking again.
    answerer.answer = QStringLiteral("いいえ(&N)");
    QTimer::singleShot(0, form.get(), [&] { form->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    watchdog.stop();
    EXPECT_EQ(answerer.asked, 2);
    EXPECT_TRUE(form->Quitting());
    // Written when the loop ended, and not again when the window goes.
    ASSERT_TRUE(QFile::exists(path));
    QFile::remove(path);
    form.reset();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TFormMain, TheSessionEndingAsksOnlyWhenAllowedAndKeepsUnsavedTextOtherwise)
{
    FreshForm fresh;
    TFormMain& form = fresh.form;
    QSignalSpy terminated(&form, &TFormMain::Terminated);
    form.Editor->Core().KeyPress("x");
    BoxAnswerer answerer;
    answerer.answer = QStringLiteral("いいえ(&N)");
    EXPECT_FALSE(form.SessionEnding(false));
    EXPECT_EQ(answerer.asked, 0);
    EXPECT_EQ(terminated.count(), 0);
    EXPECT_TRUE(form.SessionEnding(true));
    EXPECT_EQ(answerer.asked, 1);
    EXPECT_EQ(terminated.count(), 1);
    // Once ending, neither the session nor the exit action asks again.
    EXPECT_TRUE(form.SessionEnding(true));
    form.RunAction(QStringLiteral("FileExit"));
    EXPECT_EQ(answerer.asked, 1);
    EXPECT_EQ(terminated.count(), 1);
}

TEST(TFormMain, FineWheelStepsOverTheEditorScrollTwoRowsPerWholeStep)
{
    FreshForm fresh;
    TFormMain& form = fresh.form;
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\r\n";
    form.Editor->Lines().SetTextStr(text);
    form.WheelMove = false;
    form.show();
    QWidget* viewport = form.Editor->viewport();
    const QPointF pos(30, 30);
    for (int i = 0; i < 16; ++i) {
        QWheelEvent event(pos, viewport->mapToGlobal(pos), QPoint(), QPoint(0, -15), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
    EXPECT_EQ(form.Editor->Core().TopRow(), 4);
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
