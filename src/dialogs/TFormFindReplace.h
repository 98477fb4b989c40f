#pragma once
#include <QDialog>
#include <QPointer>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TEditor;

// "検索・置換ダイアログ": one small window, shown without blocking the main
// window, for finding and for replacing text in the editor. Replace mode is
// the replacement field being enabled. Each OK searches forward once and in
// replace mode replaces at most one hit; the fields keep their text for the
// whole run, also while the window is hidden, so F3 repeats the last request.
class TFormFindReplace : public QDialog {
    Q_OBJECT

public:
    // `mainWindow` and `editor` get the keyboard focus back before the search.
    TFormFindReplace(QWidget* mainWindow, TEditor* editor);

    QGroupBox* GroupBox1;
    QLabel* LabelFind;
    QLineEdit* EditFind;
    QLabel* LabelReplace;
    QLineEdit* EditReplace;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

    // Shows the window in find mode (false) or replace mode (true), with the
    // pattern selected for typing over.
    void ShowFor(bool replaceMode);
    bool ReplaceMode() const;

    // One request with the fields as they stand, shown or not: an empty
    // pattern only closes the window.
    void ButtonOKClick();
    void ButtonCancelClick();

    // Told when a field holds a character that Shift-JIS cannot hold; by
    // default a box titled "情報".
    std::function<void(const QString& message)> ShowMessage;

private:
    QPointer<QWidget> mainWindow_;
    QPointer<TEditor> editor_;
};
