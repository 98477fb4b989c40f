#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "app/ShortCutPrecedence.h"

namespace {

// A window whose actions run by their shortcuts, as in the main window.
struct Window {
    QWidget widget;
    MenuActionList list{&widget};

    Window()
    {
        for (QAction* a : list.Actions()) {
            a->setEnabled(true);
            widget.addAction(a);
        }
        widget.show();
        QApplication::setActiveWindow(&widget);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
    }
    QAction* Action(const char* name) const { return list.Action(QString::fromLatin1(name)); }
};

TEST(ShortCutPrecedence, ASharedKeyRunsTheActionEarliestInTheTableEveryTime)
{
    Window w;
    ShortCutPrecedence precedence(w.list, &w.widget);
    w.Action("RunLaTeX")->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));  // FileSave1 has it too
    QSignalSpy save(w.Action("FileSave1"), &QAction::triggered);
    QSignalSpy compile(w.Action("RunLaTeX"), &QAction::triggered);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&w.widget, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(save.count(), 3);
    EXPECT_EQ(compile.count(), 0);

    // A disabled action yields to the next one.
    w.Action("FileSave1")->setEnabled(false);
    QTest::keyClick(&w.widget, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(compile.count(), 1);
}

TEST(ShortCutPrecedence, AFixedKeyTakenByACustomisableActionRunsTheEarlierOne)
{
    Window w;
    ShortCutPrecedence precedence(w.list, &w.widget);
    w.Action("ToolHelpWindow")->setShortcut(QKeySequence(QStringLiteral("F11")));  // RunRenewSecLab's key
    QSignalSpy renew(w.Action("RunRenewSecLab"), &QAction::triggered);
    QSignalSpy help(w.Action("ToolHelpWindow"), &QAction::triggered);
    QTest::keyClick(&w.widget, Qt::Key_F11);
    EXPECT_EQ(renew.count(), 1);
    EXPECT_EQ(help.count(), 0);
    // A key of its own still runs it.
    w.Action("ToolHelpWindow")->setShortcut(QKeySequence(QStringLiteral("F4")));
    QTest::keyClick(&w.widget, Qt::Key_F4);
    EXPECT_EQ(help.count(), 1);
}

}  // namespace
