#pragma once
#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "tex/CommandListEditor.h"

class QButtonGroup;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TEditor;

// "コマンドの編集": browse, add, change and delete the entries of the four
// candidate lists, and write all four files back on OK. It works on lists of
// its own, loaded from the files each time it is shown; closing it any other
// way than OK writes nothing. Modeless: the main window stays usable.
class TFormNewCommand : public QDialog {
    Q_OBJECT

public:
    // `commandsFolder`: where the list files are; empty for the program's
    // own candidate lists' folder, looked up at each showing.
    explicit TFormNewCommand(const QString& commandsFolder = {}, QWidget* parent = nullptr);
    ~TFormNewCommand() override;

    QGroupBox* RGCommand;
    QList<QRadioButton*> RGCommandItems;  // in item order
    QGroupBox* GroupBox1;
    QListWidget* CommandListBox;
    QGroupBox* GroupBox2;
    TEditor* Editing;
    QGroupBox* GroupBox3;
    QPlainTextEdit* MemoHelp;
    QPushButton* BtnAdd;
    QPushButton* BtnEdit;
    QPushButton* BtnDelete;
    QPushButton* BtnOK;

    // The radio group's selected item (0..3).
    int ItemIndex() const;
    void SetItemIndex(int item);

    // Loads the four lists and shows the selected one; runs each time the
    // dialog is shown.
    void FormShow();
    // Sorts the selected list, fills the list box with its names and clears
    // the editor and the help box.
    void ListUpdate();
    void RGCommandClick();
    void CommandListBoxClick();
    void BtnAddClick();
    void BtnEditClick();
    void BtnDeleteClick();
    void BtnOKClick();

    // The dialog's lists; loaded while the dialog is shown.
    CommandListEditor& Lists() { return *lists_; }

    // Tells the user about list files that could not be read or written, and
    // about help text the code page cannot hold. The program's error report
    // unless a test replaces it.
    std::function<void(const QString& message)> ShowMessage;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildLayout();
    void ConfigureEditing();
    void FillListBox();
    void ClearEditing();
    // MemoHelp's text in Shift-JIS; false, after telling the user, when a
    // character of it has no code there.
    bool HelpBytes(std::string& help);
    QString Folder() const;

    QString folder_;
    QButtonGroup* rgButtons_;
    std::unique_ptr<CommandListEditor> lists_;
};
