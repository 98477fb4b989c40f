#pragma once
#include <QDialog>
#include <QPointer>

#include "editor/TEditor.h"
#include <QString>
#include <QStringList>

#include <functional>

class MenuActionList;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The shortcut editor "ショートカットの編集": the customisable actions on the
// left, the selected one's key text in an editable combo box on the right.
// It works on a copy of the key texts (ShortcutTexts) and gives them to the
// actions only on OK. Shown without blocking the main window; it keeps the
// list selection between showings.
//
// Keyboard: the arrow keys choose a command, Tab reaches the combo box where
// the key text is typed ("ctrl+shift+k", "^S", "F5") or chosen, Enter is OK
// and Esc cancels.
class TFormShortCut : public QDialog {
    Q_OBJECT

public:
    explicit TFormShortCut(MenuActionList* actions, QWidget* parent = nullptr);
    ~TFormShortCut() override;

    QLabel* LabelCommand;
    QListWidget* ListShortCut;
    QLabel* LabelShortCut;
    QComboBox* ComboShortCut;
    QPushButton* ButtonDefault;
    QPushButton* ButtonCancel;
    QPushButton* ButtonOK;

    // The 25 key texts being edited, index for index with the list; empty
    // while the dialog is hidden.
    QStringList ShortcutTexts;

    // Asked before OK applies texts that name no key or keys that two
    // actions would share; `message` lists them. True applies them anyway.
    // By default a box titled "情報" with "はい(&Y)" and "いいえ(&N)".
    std::function<bool(const QString& message)> ConfirmApply;

    // --- handlers ---
    void FormShow();
    void FormHide();
    void ListShortCutClick();
    void ComboShortCutChange();
    void ButtonDefaultClick();
    void ButtonCancelClick();
    void ButtonOKClick();

    // The selected list entry's index, -1 for none.
    int SelectedIndex() const;
    // What OK would warn about for the current texts; empty when nothing.
    QString ApplyProblems() const;

    // The editor whose own keys the warning also names: a key the editor
    // acts on itself loses that use to the action (see TEditor::TakesKey).
    void SetEditor(TEditor* editor) { editor_ = editor; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Puts the selected entry's text into the combo box without storing it back.
    void ShowSelectedText();

    MenuActionList* actions_;
    QPointer<TEditor> editor_;
    bool showingText_ = false;
};
