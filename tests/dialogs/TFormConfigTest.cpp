#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "app/TFormMain.h"
#include "dialogs/TFormConfig.h"
#include "editor/EditorFontChoice.h"
#include "editor/TEditor.h"

namespace {

struct Fixture {
    QTemporaryDir dir;
    TFormMain main{dir.filePath(QStringLiteral("Scrivlet.ini"))};
    TFormConfig& form = *main.FormConfig;
    QStringList errors;
    Fixture()
    {
        form.ReportError = [this](const QString& message) { errors << message; };
    }
    // Opens the dialog without its own message loop.
    void Open()
    {
        form.FillForOpening();
        form.show();
    }
    TEditorCore& Editor() { return main.Editor->Core(); }
    QStringList GridColumn(int column) const
    {
        QStringList cells;
        for (int row = 0; row < form.StringMathGrid->rowCount(); ++row)
            cells << form.StringMathGrid->item(row, column)->text();
        return cells;
    }
};

TEST(TFormConfig, HasItsSixTabsCaptionsAndModality)
{
    Fixture f;
    EXPECT_EQ(f.form.windowTitle(), QStringLiteral("設定"));
    EXPECT_TRUE(f.form.isModal());
    ASSERT_EQ(f.form.PageControl1->count(), 6);
    QStringList tabs;
    for (int i = 0; i < 6; ++i)
        tabs << f.form.PageControl1->tabText(i);
    EXPECT_EQ(tabs, QStringList({"パス", "コンパイル", "動作", "改行", "色", "Font"}));
    EXPECT_TRUE(f.form.EditTexPath->isReadOnly());
    EXPECT_TRUE(f.form.EditDVIOUTPath->isReadOnly());
    EXPECT_TRUE(f.form.EditOutCommand->isReadOnly());
    EXPECT_FALSE(f.form.EditTOPPATH->isReadOnly());
    EXPECT_EQ(f.form.CheckNonStop->text(), QStringLiteral("エラーで停止しない"));
    EXPECT_EQ(f.form.StringMathGrid->horizontalHeaderItem(0)->text(), QStringLiteral("数式環境のはじまり"));
    EXPECT_EQ(f.form.StringMathGrid->horizontalHeaderItem(1)->text(), QStringLiteral("数式環境のおわり"));
    EXPECT_EQ(f.form.ListFontSize->count(), 17);
    EXPECT_EQ(f.form.SpinWrap->minimum(), 20);
    EXPECT_EQ(f.form.SpinWrap->maximum(), 200);
    EXPECT_TRUE(f.form.ButtonOK->isDefault());
    // The association button runs the association action.
    EXPECT_TRUE(f.main.Actions()->Action(QStringLiteral("ToolKanren"))->isEnabled());
    EXPECT_TRUE(f.main.Actions()->Action(QStringLiteral("ToolPath"))->isEnabled());
}

TEST(TFormConfig, PathsOptionsAndGridAreFilledAtEachOpeningTheRestOnlyAtCreation)
{
    Fixture f;
    f.main.LaTeXPath = QStringLiteral("/usr/bin/platex");
    f.main.TopPath = QStringLiteral("/doc/main.tex");
    f.main.SerchRoot = false;
    f.main.NonStopMode = false;
    f.main.RenewTree = false;
    f.Editor().SetWordWrap(true);
    f.Editor().View().SetCommenter("");
    f.Open();
    EXPECT_EQ(f.form.EditTexPath->text(), QStringLiteral("/usr/bin/platex"));
    EXPECT_EQ(f.form.EditTOPPATH->text(), QStringLiteral("/doc/main.tex"));
    EXPECT_FALSE(f.form.CheckSerchRoot->isChecked());
    EXPECT_FALSE(f.form.CheckNonStop->isChecked());
    EXPECT_EQ(f.GridColumn(0).size(), 15);
    EXPECT_EQ(f.GridColumn(0).first(), QStringLiteral("\\["));
    EXPECT_EQ(f.GridColumn(1).last(), QStringLiteral("\\end{align*}"));
    // Filled once, from the state when the dialog was made.
    EXPECT_TRUE(f.form.CheckRenewLabel->isChecked());
    EXPECT_FALSE(f.form.CheckWrap->isChecked());
    EXPECT_TRUE(f.form.CheckComment->isChecked());
    EXPECT_EQ(f.form.MemoWord->toPlainText(), QStringLiteral("begin\nend\nsection\nsubsection\nsubsubsection"));

    // Cancel after changing the wrap width: the next opening shows the
    // change, the editor keeps its own.
    f.form.SpinWrap->setValue(64);
    f.form.ButtonCancel->click();
    EXPECT_FALSE(f.form.isVisible());
    f.Open();
    EXPECT_EQ(f.form.SpinWrap->value(), 64);
    EXPECT_EQ(f.Editor().WrapOption().WrapByte(), 80);
}

TEST(TFormConfig, OkAppliesInOrderAndAFontSizeThatDoesNotReadStopsAtStepFive)
{
    Fixture f;
    // A stored size the list does not offer leaves the size field empty.
    TEditorFont font = f.Editor().Font();
    font.SetSize(30);
    f.Editor().SetFont(font);
    TFormConfig late(&f.main);
    late.ReportError = f.form.ReportError;
    EXPECT_EQ(late.EditFontSize->text(), QString());
    EXPECT_EQ(late.ListFontSize->currentItem(), nullptr);

    late.FillForOpening();
    late.show();
    late.CheckWrap->setChecked(true);
    late.SpinWrap->setValue(100);
    late.CheckComment->setChecked(false);
    late.MemoWord->setPlainText(QStringLiteral("section\n\nlabel\n"));
    if (late.ListFont->count() > 0)
        late.ListFont->setCurrentRow(0);
    late.EditTOPPATH->setText(QStringLiteral("/doc/top.tex"));
    late.CheckScroll->setChecked(false);
    late.ButtonOK->click();

    ASSERT_EQ(f.errors, QStringList({"'' は正しい整数値ではありません"}));
    EXPECT_TRUE(late.isVisible());
    // Steps 1 to 4 are applied...
    EXPECT_TRUE(f.Editor().WordWrap());
    EXPECT_EQ(f.Editor().WrapOption().WrapByte(), 100);
    EXPECT_EQ(f.Editor().View().Commenter(), "");
    EXPECT_EQ(f.Editor().View().ReserveWordList().Words(), (std::vector<std::string>{"", "label", "section"}));
    if (late.ListFont->count() > 0) {
        EXPECT_EQ(QString::fromStdString(f.Editor().Font().Name), late.ListFont->item(0)->text());
    }
    EXPECT_EQ(f.Editor().Font().Size(), 30);
    // ...the paths and options are not.
    EXPECT_EQ(f.main.TopPath, QString());
    EXPECT_TRUE(f.main.WheelMove);

    // A size from the list, then OK again.
    late.ListFontSize->setCurrentRow(4);
    late.ListFontSizeClick();
    EXPECT_EQ(late.EditFontSize->text(), QStringLiteral("12"));
    late.ButtonOK->click();
    EXPECT_EQ(f.errors.size(), 1);
    EXPECT_FALSE(late.isVisible());
    EXPECT_EQ(f.Editor().Font().Size(), 12);
    EXPECT_EQ(f.main.SerchList->font(), f.main.Editor->DrawFont());
    EXPECT_EQ(f.main.TopPath, QStringLiteral("/doc/top.tex"));
    EXPECT_FALSE(f.main.WheelMove);
}

TEST(TFormConfig, OkWithNothingChangedKeepsTheEditorsFontHeight)
{
    Fixture f;
    const TEditorFont before = f.Editor().Font();
    f.Open();
    f.form.EditFontSize->setText(QString::number(before.Size()));
    f.form.ButtonOK->click();
    EXPECT_TRUE(f.errors.isEmpty());
    EXPECT_EQ(f.Editor().Font().Height, before.Height);
}

TEST(TFormConfig, WrapWidthsTypedOutOfRangeAreBroughtBackWhenTheFocusLeaves)
{
    Fixture f;
    f.Open();
    QApplication::setActiveWindow(&f.form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.form));
    f.form.PageControl1->setCurrentIndex(3);
    for (const auto& [typed, shown] : {std::pair{"250", 200}, {"abc", 20}, {"90", 90}}) {
        f.form.SpinWrap->setFocus();
        f.form.SpinWrap->selectAll();
        QTest::keyClicks(f.form.SpinWrap, QString::fromLatin1(typed));
        f.form.CheckWord->setFocus();
        EXPECT_EQ(f.form.SpinWrap->value(), shown) << typed;
        EXPECT_EQ(f.form.SpinWrap->text(), QString::number(shown)) << typed;
    }
    // Still being typed when OK is pressed: read the same way.
    f.form.SpinWrap->setFocus();
    f.form.SpinWrap->selectAll();
    QTest::keyClicks(f.form.SpinWrap, QStringLiteral("999"));
    f.form.EditFontSize->setText(QStringLiteral("10"));
    f.form.ButtonOKClick();
    EXPECT_EQ(f.Editor().WrapOption().WrapByte(), 200);
}

TEST(TFormConfig, MathPairsAreAddedAndDeletedAtOnceAndCancelKeepsThem)
{
    Fixture f;
    f.Open();
    f.form.EditStart->setText(QStringLiteral("\\begin{xx}"));
    f.form.ButtonAddMath->click();  // one field empty: nothing
    EXPECT_EQ(f.main.BeginMath.size(), 15);
    f.form.EditEnd->setText(QStringLiteral("\\end{xx}"));
    f.form.ButtonAddMath->click();
    EXPECT_EQ(f.main.BeginMath.last(), QStringLiteral("\\begin{xx}"));
    EXPECT_EQ(f.main.EndMath.last(), QStringLiteral("\\end{xx}"));
    EXPECT_EQ(f.GridColumn(0).last(), QStringLiteral("\\begin{xx}"));
    EXPECT_TRUE(f.form.EditStart->text().isEmpty() && f.form.EditEnd->text().isEmpty());
    f.form.ButtonCancel->click();
    f.Open();
    EXPECT_EQ(f.GridColumn(1).size(), 16);
    EXPECT_EQ(f.GridColumn(1).last(), QStringLiteral("\\end{xx}"));

    // Delete takes the selected row from both lists; without a selection,
    // or with no pairs left, it does nothing.
    f.form.StringMathGrid->clearSelection();
    f.form.Button2->click();
    EXPECT_EQ(f.main.BeginMath.size(), 16);
    f.form.StringMathGrid->selectRow(1);
    f.form.Button2->click();
    EXPECT_EQ(f.main.BeginMath.size(), 15);
    EXPECT_EQ(f.main.BeginMath[1], QStringLiteral("\\begin{math}"));
    EXPECT_EQ(f.main.EndMath[1], QStringLiteral("\\end{math}"));
    EXPECT_EQ(f.GridColumn(0)[1], QStringLiteral("\\begin{math}"));

    // Lists of different lengths show an empty cell and delete safely.
    f.main.BeginMath = QStringList{"a", "b"};
    f.main.EndMath = QStringList{"A"};
    f.Open();
    EXPECT_EQ(f.GridColumn(1), QStringList({"A", ""}));
    f.form.StringMathGrid->selectRow(1);
    f.form.Button2->click();
    EXPECT_EQ(f.main.BeginMath, QStringList({"a"}));
    EXPECT_EQ(f.main.EndMath, QStringList({"A"}));
}

TEST(TFormConfig, PathAndColourButtonsUseTheirChoosersAndColoursApplyAtOnce)
{
    Fixture f;
    QStringList filters;
    QString answer = QStringLiteral("/opt/tex/bin/platex");
    f.form.PickFile = [&](const QString& filter, bool, const QString&) {
        filters << filter;
        return answer;
    };
    f.Open();
    f.form.ButtonTeXPath->click();
    EXPECT_EQ(f.form.EditTexPath->text(), answer);
    EXPECT_EQ(f.main.LaTeXPath, QString());  // only OK applies it
    answer.clear();  // cancelled: the field keeps its text
    f.form.ButtonTeXPath->click();
    EXPECT_EQ(f.form.EditTexPath->text(), QStringLiteral("/opt/tex/bin/platex"));
    answer = QStringLiteral("/doc/main.tex");
    f.form.ButtonTOPPATH->click();
    f.form.ButtonDVIOUTPath->click();
    f.form.ButtonOutCommand->click();
    EXPECT_EQ(filters, QStringList({TFormConfig::kTeXFilter, TFormConfig::kTeXFilter, TFormConfig::kTopFilter,
                                    TFormConfig::kDviViewerFilter, TFormConfig::kOutCommandFilter}));
    for (const QString& filter : filters)
        EXPECT_FALSE(filter.contains(QStringLiteral(".exe"))) << filter.toStdString();

    QList<QColor> opened;
    std::optional<QColor> colour = QColor(0x12, 0x34, 0x56);
    f.form.PickColor = [&](const QColor& initial) {
        opened << initial;
        return colour;
    };
    f.form.ButtonKeyword->click();
    EXPECT_EQ(f.Editor().View().Colors().Reserve.Color(), 0x563412u);
    colour = std::nullopt;  // cancelled: nothing changes
    f.form.ButtonComment->click();
    EXPECT_EQ(f.Editor().View().Colors().Comment.Color(), clPurple);
    colour = QColor(Qt::green);
    f.form.ButtonComment->click();
    EXPECT_EQ(f.Editor().View().Colors().Comment.Color(), 0x00FF00u);
    // The chooser opens on the colour it last returned.
    EXPECT_EQ(opened, (QList<QColor>{Qt::black, QColor(0x12, 0x34, 0x56), QColor(0x12, 0x34, 0x56)}));
}

TEST(TFormConfig, TheFontListHoldsDualWidthJapaneseFamiliesAndSelectsTheEditorsOne)
{
    Fixture f;
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    for (int i = 0; i < f.form.ListFont->count(); ++i) {
        const QString family = f.form.ListFont->item(i)->text();
        EXPECT_FALSE(family.startsWith(u'@'));
        EXPECT_TRUE(japanese.contains(family)) << family.toStdString();
        QFont font(family);
        font.setPixelSize(16);
        EXPECT_TRUE(EditorFontChoice::IsDualWidthMonospace(font)) << family.toStdString();
    }
    if (f.form.ListFont->count() == 0)
        GTEST_SKIP() << "no Japanese monospace font installed";
    // "FixedSys" is not installed: nothing selected, and OK keeps the name.
    EXPECT_EQ(f.form.ListFont->currentItem(), nullptr);
    const QString family = f.form.ListFont->item(f.form.ListFont->count() - 1)->text();
    TEditorFont font = f.Editor().Font();
    font.Name = family.toStdString();
    f.Editor().SetFont(font);
    TFormConfig again(&f.main);
    ASSERT_NE(again.ListFont->currentItem(), nullptr);
    EXPECT_EQ(again.ListFont->currentItem()->text(), family);
}

}  // namespace
