#include "app/DocumentOutline.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/BracketMatching.h"
#include "app/DocumentFiles.h"
#include "app/MenuActionList.h"
#include "app/OutlineItemModel.h"
#include "app/OutlineTreeView.h"
#include "app/TFormMain.h"
#include "editor/TEditor.h"

namespace {

struct Form {
    QTemporaryDir dir;
    TFormMain form{dir.filePath(QStringLiteral("Scrivlet.ini"))};

    Form() { form.RenewTree = true; }

    std::string Write(const QString& name, const std::string& bytes)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return QFile::encodeName(path).toStdString();
    }
    QStringList Labels()
    {
        QStringList out;
        QAbstractItemModel* m = form.ListLabel->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, 0).data().toString();
        return out;
    }
    // "depth:title" per shown row.
    QStringList Sections()
    {
        QStringList out;
        OutlineItemModel* m = form.SectionTree->Model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << QStringLiteral("%1:%2")
                       .arg(m->index(r).data(OutlineItemModel::DepthRole).toInt())
                       .arg(m->index(r).data().toString());
        return out;
    }
    QStringList Files()
    {
        QStringList out;
        std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
            out << QStringLiteral("%1:%2%3").arg(depth).arg(item->text(0)).arg(item->childCount() > 0 && !item->isExpanded() ? "-" : "");
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i), depth + 1);
        };
        for (int i = 0; i < form.FileTreeView->topLevelItemCount(); ++i)
            walk(form.FileTreeView->topLevelItem(i), 0);
        return out;
    }
    int CaretLine() { return form.Editor->Core().RowToLine(form.Editor->Core().Row()); }
};

const std::string kDocument =
    "\\documentclass{jsarticle}\r\n"          // 0
    "\\chapter{A}\\label{ch:a}\r\n"            // 1
    "\\section{B}\r\n"                         // 2
    "% \\label{old}\r\n"                       // 3
    "\\subsection{C}\r\n"                      // 4
    "\\section*{not}\\section{D}\r\n"          // 5
    "\\chapter{\x91\xe6\x82\x51\x8f\xcd}\r\n"  // 6: 第２章
    "text \\label{eq:1}\r\n";                  // 7

}  // namespace

TEST(DocumentOutline, OpeningShowsLabelsAndTheExpandedSectionTreeAndClicksMoveTheCaret)
{
    Form f;
    ASSERT_TRUE(f.form.OpenDocument(f.Write("main.tex", kDocument)));
    f.form.Outline->Finish();
    EXPECT_EQ(f.Labels(), (QStringList{"ch:a", "old", "eq:1"}));
    EXPECT_EQ(f.Sections(), (QStringList{"0:A", "1:B", "2:C", "1:D", QStringLiteral("0:第２章")}));

    f.form.Outline->ListLabelClick(f.form.ListLabel->model()->index(2, 0));
    EXPECT_EQ(f.CaretLine(), 7);
    EXPECT_EQ(f.form.Editor->Core().Col(), 0);
    f.form.Outline->SectionTreeDblClick(f.form.SectionTree->Model()->index(3));
    EXPECT_EQ(f.CaretLine(), 5);
    // The views' own signals reach the same handlers.
    emit f.form.ListLabel->clicked(f.form.ListLabel->model()->index(1, 0));
    EXPECT_EQ(f.CaretLine(), 3);
    emit f.form.SectionTree->clicked(f.form.SectionTree->Model()->index(2));
    EXPECT_EQ(f.CaretLine(), 4);
    // A click on no row does nothing.
    f.form.Outline->SectionTreeDblClick(QModelIndex());
    EXPECT_EQ(f.CaretLine(), 4);
}

TEST(DocumentOutline, EditsAreFollowedAfterAPauseOnlyWithRenewTree)
{
    Form f;
    ASSERT_TRUE(f.form.OpenDocument(f.Write("main.tex", kDocument)));
    f.form.Outline->Finish();
    TEditorCore& e = f.form.Editor->Core();
    // A line above every entry: the entries stay, their lines move, and
    // the views are not rebuilt.
    QSignalSpy labelResets(f.form.ListLabel->model(), &QAbstractItemModel::modelReset);
    QSignalSpy sectionResets(f.form.SectionTree->Model(), &QAbstractItemModel::modelReset);
    e.SetRowCol(0, 0);
    e.KeyPress("%\r");
    EXPECT_TRUE(f.form.Outline->Pending());
    EXPECT_EQ(f.form.Outline->Entries().Labels[0].Line, 1) << "not before the pause";
    QSignalSpy refreshed(f.form.Outline, &DocumentOutline::Refreshed);
    ASSERT_TRUE(refreshed.wait(5000));
    EXPECT_EQ(f.form.Outline->Entries().Labels[0].Line, 2);
    EXPECT_EQ(labelResets.count(), 0);
    EXPECT_EQ(sectionResets.count(), 0);
    f.form.Outline->ListLabelClick(f.form.ListLabel->model()->index(0, 0));
    EXPECT_EQ(f.CaretLine(), 2);

    // A new label shows once the rebuild ran.
    e.SetRowCol(e.LineToRow(9), 0);
    e.KeyPress("\\label{new}");
    f.form.Outline->Finish();
    EXPECT_EQ(f.Labels().last(), QStringLiteral("new"));
    EXPECT_EQ(labelResets.count(), 1);

    // With RenewTree off an edit leaves the outline alone until F11.
    f.form.RenewTree = false;
    e.KeyPress("\r\\section{E}");
    EXPECT_FALSE(f.form.Outline->Pending());
    EXPECT_EQ(f.Sections().size(), 5);
    ASSERT_TRUE(f.form.RunAction(QStringLiteral("RunRenewSecLab")));
    f.form.Outline->Finish();
    EXPECT_EQ(f.Sections().last(), QStringLiteral("1:E"));
}

TEST(DocumentOutline, AChangeDuringASlicedRebuildStartsItOverOnTheNewText)
{
    Form f;
    std::string big;
    for (int i = 0; i < 40000; ++i)
        big += "\\section{S" + std::to_string(i) + "}\\label{l" + std::to_string(i) + "} padding text to read\r\n";
    // Slices as short as can be: one step each.
    f.form.Outline->SliceMs = 0;
    ASSERT_TRUE(f.form.OpenDocument(f.Write("big.tex", big)));
    ASSERT_TRUE(f.form.Outline->Pending()) << "the open started a rebuild that takes many slices";
    TEditorCore& e = f.form.Editor->Core();
    e.SetRowCol(0, 0);
    e.KeyPress("\\label{first}\r");
    f.form.Outline->Finish();
    ASSERT_EQ(f.form.Outline->Entries().Labels.size(), 40001u);
    EXPECT_EQ(f.form.Outline->Entries().Labels[0].Text, "first");
    EXPECT_EQ(f.form.Outline->Entries().Labels[40000].Line, 40000);
    EXPECT_EQ(f.form.Outline->Entries().Headings.size(), 40000u);
}

TEST(DocumentOutline, TheSectionTreeClosesAndOpensByKeysKeepingTheCurrentNode)
{
    Form f;
    ASSERT_TRUE(f.form.OpenDocument(f.Write("main.tex", kDocument)));
    f.form.Outline->Finish();
    OutlineTreeView* tree = f.form.SectionTree;
    tree->setCurrentIndex(tree->Model()->index(2));  // C, under B under A
    auto key = [&](Qt::Key k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(tree, &press);
    };
    key(Qt::Key_Left);  // C has no children: to its parent B
    EXPECT_EQ(tree->CurrentNode(), 1);
    key(Qt::Key_Left);  // closes B
    EXPECT_EQ(f.Sections(), (QStringList{"0:A", "1:B", "1:D", QStringLiteral("0:第２章")}));
    key(Qt::Key_Left);  // to A
    key(Qt::Key_Left);  // closes A
    EXPECT_EQ(f.Sections(), (QStringList{"0:A", QStringLiteral("0:第２章")}));
    EXPECT_EQ(tree->CurrentNode(), 0);
    key(Qt::Key_Right);
    EXPECT_EQ(f.Sections(), (QStringList{"0:A", "1:B", "1:D", QStringLiteral("0:第２章")}));
    // A click on a heading below a closed one still finds its own line.
    f.form.Outline->SectionTreeDblClick(tree->Model()->index(2));
    EXPECT_EQ(f.CaretLine(), 5);
}

TEST(DocumentOutline, TheFileTreeShowsTheRootsIncludesAndOpensTheOneDoubleClicked)
{
    Form f;
    f.Write("main.tex", "\\documentclass{jsbook}\n\\include{ch1}\n\\input{chapters/ch2.tex}\n\\input{main}\n");
    const std::string ch1 = f.Write("ch1.tex", "\\input{sec1}\n\\label{in-ch1}\n");
    f.Write("sec1.tex", "\n");
    const std::string ch2 = f.Write("chapters/ch2.tex", "\\section{Two}\n");
    ASSERT_TRUE(f.form.OpenDocument(ch1));
    EXPECT_EQ(f.Files(), (QStringList{"0:main.tex", "1:ch1.tex", "2:sec1.tex", "1:chapters/ch2.tex", "1:main.tex"}));

    QTreeWidgetItem* two = f.form.FileTreeView->topLevelItem(0)->child(1);
    f.form.Outline->FileTreeViewDblClick(two);
    EXPECT_EQ(f.form.CurrentFileName(), ch2);
    f.form.Outline->Finish();
    EXPECT_EQ(f.Sections(), QStringList{"0:Two"});
    // The open rebuilt the file tree for the new document, whose folder
    // holds no root.
    EXPECT_TRUE(f.Files().isEmpty());
    f.form.Outline->FileTreeViewDblClick(nullptr);
    EXPECT_EQ(f.form.CurrentFileName(), ch2);

    // From the root itself, a node opens the file it names.
    ASSERT_TRUE(f.form.OpenDocument(f.Write("main.tex", "\\documentclass{jsbook}\n\\include{ch1}\n")));
    ASSERT_EQ(f.Files(), (QStringList{"0:main.tex", "1:ch1.tex", "2:sec1.tex"}));
    f.form.Outline->FileTreeViewDblClick(f.form.FileTreeView->topLevelItem(0)->child(0)->child(0));
    EXPECT_EQ(f.form.CurrentFileName(), f.Write("sec1.tex", "\n"));
}

TEST(DocumentOutline, TheFileTreeMenuHasOneWorkingItemAndTwoDisabledOnes)
{
    Form f;
    QMenu* menu = f.form.Outline->PopupMenuFileTree();
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("ファイル構造推定"));
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("ファイル構造読み込み"));
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    EXPECT_EQ(menu->actions()[2]->text(), QStringLiteral("ファイル構造書き出し"));
    EXPECT_FALSE(menu->actions()[2]->isEnabled());

    // The file tree is not rebuilt by a save; the menu item does it.
    const std::string main = f.Write("main.tex", "\\documentclass{x}\n");
    ASSERT_TRUE(f.form.OpenDocument(main));
    EXPECT_EQ(f.Files(), QStringList{"0:main.tex"});
    f.Write("part.tex", "");
    f.form.Editor->Core().SetRowCol(1, 0);
    f.form.Editor->Core().KeyPress("\\input{part}\r");
    ASSERT_TRUE(f.form.SaveDocument(main));
    EXPECT_EQ(f.Files(), QStringList{"0:main.tex"});
    menu->actions()[0]->trigger();
    EXPECT_EQ(f.Files(), (QStringList{"0:main.tex", "1:part.tex"}));
    EXPECT_TRUE(f.form.Actions()->Action(QStringLiteral("RunRenewSecLab"))->isEnabled());
}

TEST(BracketMatching, TheCaretBeforeABracketHighlightsItsPairOrSaysThereIsNone)
{
    Form f;
    f.form.show();
    TEditorCore& e = f.form.Editor->Core();
    f.form.Editor->Lines().SetTextStr("a(b)c\r\n}\r\n% (\r\n");
    QLabel* status = f.form.DebugStatusBar->findChild<QLabel*>();
    ASSERT_TRUE(status);
    e.SetRowCol(0, 1);
    using Mark = TEditorPainter::BracketMark;
    EXPECT_EQ(f.form.Editor->BracketHighlight(), (std::vector<Mark>{{0, 1, '('}, {0, 3, ')'}}));
    EXPECT_TRUE(status->text().isEmpty());
    // Painted white on black over the text.
    QImage image(f.form.Editor->viewport()->size(), QImage::Format_RGB32);
    f.form.Editor->viewport()->render(&image);
    const int x = e.TextAreaLeft() + 3 * e.ColWidth() + 1;
    const int y = e.TextAreaTop() + 1;
    EXPECT_EQ(QColor(image.pixel(x, y)), QColor(Qt::black));

    e.SetRowCol(0, 2);  // before "b"
    EXPECT_TRUE(f.form.Editor->BracketHighlight().empty());
    e.SetRowCol(1, 0);
    EXPECT_TRUE(f.form.Editor->BracketHighlight().empty());
    EXPECT_EQ(status->text(), BracketMatching::kNoPartnerMessage);
    e.SetRowCol(2, 2);  // a bracket in a comment has no partner either
    EXPECT_EQ(status->text(), BracketMatching::kNoPartnerMessage);
    e.SetRowCol(2, 3);  // past the end of the line
    EXPECT_TRUE(status->text().isEmpty());
    // An edit takes the highlight down.
    e.SetRowCol(0, 1);
    ASSERT_FALSE(f.form.Editor->BracketHighlight().empty());
    e.KeyDown(TEditorKey::Delete, 0);
    EXPECT_EQ(e.RowText(0), "ab)c");
    EXPECT_TRUE(f.form.Editor->BracketHighlight().empty());

    // A TAB and a double-byte character before the bracket: the caret's
    // column is not its byte offset.
    f.form.Editor->Lines().SetTextStr("\t\x95\x5c(x)");
    e.SetRowCol(0, 10);
    ASSERT_EQ(e.RowColToCharIndex(0, 10), 3);
    EXPECT_EQ(f.form.Editor->BracketHighlight(), (std::vector<Mark>{{0, 3, '('}, {0, 5, ')'}}));
}
