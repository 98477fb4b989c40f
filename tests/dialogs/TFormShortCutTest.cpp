#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "dialogs/TFormShortCut.h"
#include "editor/TEditor.h"

namespace {

constexpr int kCompile = 16;  // "コンパイル", RunLaTeX
constexpr int kNew = 0;       // "新規作成", FileNew

struct Fixture {
    QWidget owner;
    MenuActionList list{&owner};
    TFormShortCut form{&list};
    QStringList asked;  // the messages OK asked about
    bool answer = true;

    Fixture()
    {
        form.ConfirmApply = [this](const QString& message) {
            asked << message;
            return answer;
        };
    }
    QString ShortcutOf(const char* action) const
    {
        return list.Action(QString::fromLatin1(action))->shortcut().toString();
    }
    void Show()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void Choose(int row, const QString& text)
    {
        form.ListShortCut->setCurrentRow(row);
        form.ComboShortCut->setEditText(text);
    }
};

TEST(TFormShortCut, HasItsCaptionSizeCommandsOfferedKeysAndButtons)
{
    Fixture f;
    EXPECT_EQ(f.form.windowTitle(), QStringLiteral("ショートカットの編集"));
    EXPECT_EQ(f.form.size(), QSize(334, 175));
    EXPECT_EQ(f.form.minimumSize(), f.form.maximumSize());
    EXPECT_FALSE(f.form.isModal());
    ASSERT_EQ(f.form.ListShortCut->count(), 25);
    EXPECT_EQ(f.form.ListShortCut->item(kCompile)->text(), QStringLiteral("コンパイル"));
    EXPECT_EQ(f.form.ListShortCut->item(9)->text(), QStringLiteral("全て選択"));
    EXPECT_EQ(f.form.ListShortCut->item(24)->text(), QStringLiteral("ヘルプウインド表示"));
    EXPECT_EQ(f.form.LabelCommand->text(), QStringLiteral("コマンド"));
    EXPECT_EQ(f.form.LabelShortCut->text(), QStringLiteral("ショートカット"));
    QComboBox* combo = f.form.ComboShortCut;
    EXPECT_TRUE(combo->isEditable());
    ASSERT_EQ(combo->count(), 76);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("F1"));
    EXPECT_EQ(combo->itemText(12), QStringLiteral("Shift+F1"));
    EXPECT_EQ(combo->itemText(24), QStringLiteral("Ctrl+A"));
    EXPECT_EQ(combo->itemText(75), QStringLiteral("Ctrl+Alt+Z"));
    EXPECT_EQ(f.form.ButtonDefault->text(), QStringLiteral("デフォルト"));
    EXPECT_EQ(f.form.ButtonCancel->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(f.form.ButtonOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(f.form.ButtonOK->isDefault());
}

TEST(TFormShortCut, ShowingCopiesTheShortcutsAsTextsAndHidingDropsThem)
{
    Fixture f;
    f.list.Action(QStringLiteral("SerchMarkup"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+K")));
    EXPECT_TRUE(f.form.ShortcutTexts.isEmpty());
    f.Show();
    ASSERT_EQ(f.form.ShortcutTexts.size(), 25);
    EXPECT_EQ(f.form.ShortcutTexts.at(4), QStringLiteral("Ctrl+Alt+Z"));
    EXPECT_EQ(f.form.ShortcutTexts.at(13), QStringLiteral("Shift+Ctrl+K"));
    EXPECT_EQ(f.form.ShortcutTexts.at(8), QString());
    // Choosing a command shows its text.
    f.form.ListShortCut->setCurrentRow(kCompile);
    EXPECT_EQ(f.form.ComboShortCut->currentText(), QStringLiteral("Ctrl+F9"));
    f.form.hide();
    EXPECT_TRUE(f.form.ShortcutTexts.isEmpty());
    // The selection is kept between showings.
    f.Show();
    EXPECT_EQ(f.form.SelectedIndex(), kCompile);
}

TEST(TFormShortCut, AChosenKeyTakesEffectOnOkAndReplacesTheOldOne)
{
    Fixture f;
    f.Show();
    f.form.ListShortCut->setCurrentRow(kCompile);
    f.form.ComboShortCut->setCurrentIndex(4);  // "F5" from the drop-down
    EXPECT_EQ(f.form.ShortcutTexts.at(kCompile), QStringLiteral("F5"));
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("Ctrl+F9"));  // nothing applied yet
    f.form.ButtonOK->click();
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("F5"));
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_TRUE(f.asked.isEmpty());
}

TEST(TFormShortCut, AKeyChosenWithNoCommandSelectedChangesNothing)
{
    Fixture f;
    f.Show();
    ASSERT_EQ(f.form.SelectedIndex(), -1);
    const QStringList before = f.form.ShortcutTexts;
    f.form.ComboShortCut->setEditText(QStringLiteral("F7"));
    EXPECT_EQ(f.form.ShortcutTexts, before);
    f.form.ButtonOK->click();
    EXPECT_EQ(f.ShortcutOf("FileNew"), QStringLiteral("Ctrl+N"));
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("Ctrl+F9"));
}

TEST(TFormShortCut, DefaultThenCancelChangesNothingAndDefaultThenOkRestoresAll)
{
    Fixture f;
    f.list.Action(QStringLiteral("RunLaTeX"))->setShortcut(QKeySequence(QStringLiteral("F5")));
    f.list.Action(QStringLiteral("EditDelete1"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
    f.Show();
    f.form.ListShortCut->setCurrentRow(kCompile);
    EXPECT_EQ(f.form.ComboShortCut->currentText(), QStringLiteral("F5"));
    f.form.ButtonDefault->click();
    // The combo box follows the selected command's text.
    EXPECT_EQ(f.form.ComboShortCut->currentText(), QStringLiteral("Ctrl+F9"));
    f.form.ButtonCancel->click();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("F5"));
    EXPECT_EQ(f.ShortcutOf("EditDelete1"), QStringLiteral("Ctrl+K"));

    f.Show();
    EXPECT_EQ(f.form.ComboShortCut->currentText(), QStringLiteral("F5"));
    f.form.ButtonDefault->click();
    f.form.ButtonOK->click();
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("Ctrl+F9"));
    EXPECT_EQ(f.ShortcutOf("EditDelete1"), QString());
    EXPECT_EQ(f.ShortcutOf("EditRedo1"), QStringLiteral("Ctrl+Alt+Z"));
}

TEST(TFormShortCut, WorksFromTheKeyboardAlone)
{
    Fixture f;
    f.Show();
    f.form.ListShortCut->setFocus();
    QTest::keyClick(f.form.ListShortCut, Qt::Key_Down);  // the first command
    EXPECT_EQ(f.form.SelectedIndex(), kNew);
    EXPECT_EQ(f.form.ComboShortCut->currentText(), QStringLiteral("Ctrl+N"));
    QTest::keyClick(f.form.ListShortCut, Qt::Key_Tab);
    ASSERT_TRUE(f.form.ComboShortCut->hasFocus());
    QComboBox* combo = f.form.ComboShortCut;
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("ctrl+shift+k"));
    EXPECT_EQ(f.form.ShortcutTexts.at(kNew), QStringLiteral("ctrl+shift+k"));
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.ShortcutOf("FileNew"), QStringLiteral("Ctrl+Shift+K"));

    // Typing "F1" with "F10" on offer gives F1; Esc leaves without applying.
    f.Show();
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("F1"));
    EXPECT_EQ(f.form.ShortcutTexts.at(kNew), QStringLiteral("F1"));
    QTest::keyClick(combo, Qt::Key_Escape);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.ShortcutOf("FileNew"), QStringLiteral("Ctrl+Shift+K"));
}

TEST(TFormShortCut, AnEmptiedTextLeavesTheCommandWithoutAShortcut)
{
    Fixture f;
    f.Show();
    f.Choose(kNew, QString());
    f.form.ButtonOK->click();
    EXPECT_EQ(f.ShortcutOf("FileNew"), QString());
    EXPECT_TRUE(f.asked.isEmpty());
}

TEST(TFormShortCut, OkWarnsAboutSharedKeysAndUnreadableTextsAndAppliesOnlyWhenTold)
{
    Fixture f;
    f.Show();
    f.Choose(kCompile, QStringLiteral("Ctrl+S"));   // 上書き保存 has it
    f.Choose(kNew, QStringLiteral("Ctrl+Shft+K"));  // names no key
    f.answer = false;
    f.form.ButtonOK->click();
    ASSERT_EQ(f.asked.size(), 1);
    const QString message = f.asked.first();
    EXPECT_TRUE(message.contains(QStringLiteral("「Ctrl+S」が「上書き保存」と「コンパイル」に割り当てられています。")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("「新規作成」の「Ctrl+Shft+K」はキーを表していません。")))
        << message.toStdString();
    // Told not to: nothing applied, still editing.
    EXPECT_TRUE(f.form.isVisible());
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("Ctrl+F9"));
    EXPECT_EQ(f.form.ShortcutTexts.at(kCompile), QStringLiteral("Ctrl+S"));

    // Told to: both keep the shared key, the unreadable text gives none.
    f.answer = true;
    f.form.ButtonOK->click();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.ShortcutOf("RunLaTeX"), QStringLiteral("Ctrl+S"));
    EXPECT_EQ(f.ShortcutOf("FileSave1"), QStringLiteral("Ctrl+S"));
    EXPECT_EQ(f.ShortcutOf("FileNew"), QString());
}

TEST(TFormShortCut, AFixedKeyCountsAsTakenAndTheDefaultQuestionIsAYesNoInformationBox)
{
    Fixture f;
    f.list.Action(QStringLiteral("RunRenewSecLab"))->setEnabled(true);
    f.Show();
    f.Choose(24, QStringLiteral("f11"));
    EXPECT_TRUE(f.form.ApplyProblems().contains(
        QStringLiteral("「F11」が「セクション・ラベルの更新」と「ヘルプウインド表示」に割り当てられています。"
                       "キーを押すと「セクション・ラベルの更新」が実行されます。")))
        << f.form.ApplyProblems().toStdString();

    // The box the dialog asks with on its own.
    TFormShortCut plain(&f.list);
    plain.show();
    plain.ListShortCut->setCurrentRow(24);
    plain.ComboShortCut->setEditText(QStringLiteral("F11"));
    QString title;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        title = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        QTest::keyClick(box, Qt::Key_Escape);  // いいえ
    });
    plain.ButtonOK->click();
    EXPECT_EQ(title, QStringLiteral("情報"));
    EXPECT_TRUE(buttons.contains(QStringLiteral("はい(&Y)")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("いいえ(&N)")));
    EXPECT_TRUE(plain.isVisible());
    EXPECT_EQ(f.ShortcutOf("ToolHelpWindow"), QStringLiteral("F4"));
}

}  // namespace

namespace {

constexpr int kDisplayStatus = 23;  // "サポートウインド表示"

TEST(TFormShortCut, WarnsAboutKeysTheEditorActsOnButNotTheBuiltInMenuKeysAPopUpMenuRemoved)
{
    Fixture f;
    TEditor editor;
    f.form.SetEditor(&editor);
    f.list.Action(QStringLiteral("DisplayStatus"))->setEnabled(true);
    f.Show();

    // Without a pop-up menu of its own the editor keeps Ctrl+K for box mode.
    f.Choose(kDisplayStatus, QStringLiteral("Ctrl+K"));
    EXPECT_TRUE(f.form.ApplyProblems().contains(QStringLiteral("「Ctrl+K」はエディタのキー操作にも使われています。")))
        << f.form.ApplyProblems().toStdString();

    // With one, Ctrl+K is free; the moving keys and typed characters are not.
    QMenu menu;
    editor.SetPopupMenu(&menu);
    EXPECT_TRUE(f.form.ApplyProblems().isEmpty()) << f.form.ApplyProblems().toStdString();
    f.Choose(kDisplayStatus, QStringLiteral("Ctrl+Left"));
    EXPECT_TRUE(f.form.ApplyProblems().contains(
        QStringLiteral("エディタでキーを押すと「サポートウインド表示」が実行され、エディタの操作は行われません。")))
        << f.form.ApplyProblems().toStdString();
    f.Choose(kDisplayStatus, QStringLiteral("Shift+A"));
    EXPECT_FALSE(f.form.ApplyProblems().isEmpty());
    f.Choose(kDisplayStatus, QStringLiteral("Ctrl+Alt+A"));
    EXPECT_TRUE(f.form.ApplyProblems().isEmpty()) << f.form.ApplyProblems().toStdString();
}

}  // namespace
