#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/TFormMain.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TFormHelpWindow.h"
#include "editor/TEditor.h"
#include "platform/ApplicationIcon.h"
#include "platform/HelpViewer.h"

namespace {

TEST(HelpWindow, F4TwiceHidesItAgainAndLeavesTheCaretInTheEditor)
{
    TFormMain form;
    form.Editor->Lines().SetTextStr("abc\r\ndef");
    form.show();
    form.activateWindow();
    form.Editor->setFocus();
    form.Editor->Core().SetRowCol(1, 2);
    QApplication::processEvents();

    form.FormHelpWindow->SetHelpText(QStringLiteral("\\section{見出し}"));  // set while hidden
    form.RunAction(QStringLiteral("ToolHelpWindow"));
    EXPECT_TRUE(form.FormHelpWindow->isVisible());
    EXPECT_EQ(form.FormHelpWindow->Memo1->toPlainText(), QStringLiteral("\\section{見出し}"));
    EXPECT_TRUE(form.FormHelpWindow->Memo1->isReadOnly());
    EXPECT_TRUE(form.FormHelpWindow->windowFlags() & Qt::WindowStaysOnTopHint);
    form.RunAction(QStringLiteral("ToolHelpWindow"));
    EXPECT_FALSE(form.FormHelpWindow->isVisible());
    EXPECT_EQ(form.focusWidget(), form.Editor);
    EXPECT_EQ(form.Editor->Core().Row(), 1);
    EXPECT_EQ(form.Editor->Core().Col(), 2);
}

TEST(HelpWindow, CopyFromTheHelpTextTakesItsSelectionNotTheEditors)
{
    TFormMain form;
    form.Editor->Lines().SetTextStr("editor text");
    form.show();
    form.FormHelpWindow->SetHelpText(QStringLiteral("\\label{名前}"));
    form.RunAction(QStringLiteral("ToolHelpWindow"));
    QApplication::processEvents();
    // The user clicks into the help text and selects it.
    QApplication::setActiveWindow(form.FormHelpWindow);
    form.FormHelpWindow->Memo1->setFocus();
    form.FormHelpWindow->Memo1->selectAll();
    ASSERT_EQ(QApplication::focusWidget(), form.FormHelpWindow->Memo1);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_TRUE(form.RunAction(QStringLiteral("EditCopy1")));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\\label{名前}"));
}

TEST(AboutBox, ShowsNameAndVersionWithoutBlockingAndOkClosesIt)
{
    TFormMain form;
    form.show();
    form.RunAction(QStringLiteral("HelpVersion"));
    TAboutBox* box = form.AboutBox;
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(box->ProductName->text(), QStringLiteral("Scrivlet"));
    EXPECT_EQ(box->Version->text(), QStringLiteral("Ver 1.4.14"));
    // The program's own icon, not a stock one.
    const QImage shown = box->ProgramIcon->pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(32, 32));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32),
              ApplicationIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
    // Editing goes on while it is open.
    form.Editor->Core().KeyPress("x");
    EXPECT_EQ(form.Editor->Lines().GetTextStr(), "x");
    QTest::mouseClick(box->OKButton, Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

TEST(HelpViewer, ContentsComeFromTheHeadingsAndSearchFindsTopics)
{
    HelpViewer viewer;
    ASSERT_TRUE(viewer.SetHelpFile(QStringLiteral(SCRIVLET_HELP_PATH)));
    ASSERT_GT(viewer.Contents()->topLevelItemCount(), 3);
    EXPECT_EQ(viewer.Contents()->topLevelItem(0)->text(0), QStringLiteral("はじめに"));
    EXPECT_TRUE(viewer.FindTopics(QStringLiteral("Box選択モード")).contains(QStringLiteral("矩形選択")));
    EXPECT_TRUE(viewer.FindTopics(QStringLiteral("no such words anywhere")).isEmpty());
    viewer.Finder()->setCurrentIndex(1);
    viewer.ShowFinder();
    viewer.SearchField()->setText(QStringLiteral("しおり"));
    EXPECT_GE(viewer.SearchResults()->count(), 1);

    EXPECT_FALSE(viewer.SetHelpFile(QStringLiteral("/no/such/help.html")));
    EXPECT_TRUE(viewer.Browser()->toPlainText().contains(QStringLiteral("/no/such/help.html")));
}

TEST(HelpViewer, TheTopicEntryShowsTheContentsTopicAndTheOtherTheFinder)
{
    TFormMain form;
    form.show();
    HelpViewer* help = form.Help;
    ASSERT_TRUE(help->SetHelpFile(QStringLiteral(SCRIVLET_HELP_PATH)));
    help->Finder()->setCurrentIndex(1);
    form.RunAction(QStringLiteral("HelpTopicSearch1"));  // トピックの表示(&T)
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->Finder()->isVisible());
    EXPECT_TRUE(help->Browser()->isVisible());
    EXPECT_EQ(help->Browser()->textCursor().position(), 0);
    form.RunAction(QStringLiteral("HelpContents1"));  // 目次・検索(&C)
    EXPECT_TRUE(help->Finder()->isVisible());
    EXPECT_TRUE(help->SearchField()->isVisible());  // the tab last used
}

}  // namespace
