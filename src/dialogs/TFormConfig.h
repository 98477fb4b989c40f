#pragma once
#include <QColor>
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class TFormMain;

// The configuration dialog "設定": the tool paths, the compile and behaviour
// options, the math delimiter lists, the line wrap, the keyword and comment
// colours and the editor font, on six tabs. Created once, after the main
// window has read its settings, and shown modally by ToolPathExecute.
//
// The paths, the options and the grid are filled at every opening; the
// other controls only when the dialog is created, so that they show what
// the user last left in them, also after Cancel. OK applies in a fixed
// order (ButtonOKClick); the math list buttons and the colour buttons act at
// once, and Cancel does not undo them. Everything applied lives in the main
// window's memory until its settings are written at the end of the run.
class TFormConfig : public QDialog {
    Q_OBJECT

public:
    explicit TFormConfig(TFormMain* main);
    ~TFormConfig() override;

    QTabWidget* PageControl1;
    // "パス"
    QGroupBox* GroupPath;
    QLineEdit* EditTexPath;
    QPushButton* ButtonTeXPath;
    QLineEdit* EditDVIOUTPath;
    QPushButton* ButtonDVIOUTPath;
    QLineEdit* EditOutCommand;
    QPushButton* ButtonOutCommand;
    QLineEdit* EditTOPPATH;
    QPushButton* ButtonTOPPATH;
    QPushButton* ButtonFix;
    // "コンパイル"
    QCheckBox* CheckSerchRoot;
    QCheckBox* CheckNonStop;
    // "動作"
    QCheckBox* CheckScroll;
    QCheckBox* CheckRenewLabel;
    QGroupBox* GroupMath;
    QTableWidget* StringMathGrid;
    QLineEdit* EditStart;
    QLineEdit* EditEnd;
    QPushButton* ButtonAddMath;
    QPushButton* Button2;
    // "改行"
    QGroupBox* GroupWrap;
    QCheckBox* CheckWrap;
    QCheckBox* CheckWord;
    QSpinBox* SpinWrap;
    // "色"
    QPlainTextEdit* MemoWord;
    QPushButton* ButtonKeyword;
    QCheckBox* CheckComment;
    QPushButton* ButtonComment;
    // "Font"
    QGroupBox* GroupFont;
    QListWidget* ListFont;
    QLineEdit* EditFontSize;
    QListWidget* ListFontSize;

    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

    // The file chooser of the path buttons: `filter` is the name filter
    // ("説明 (パターン)"), `programs` asks for executable files only,
    // `current` is the field's path. Returns the chosen path, empty when
    // cancelled. By default one file dialog that keeps its folder.
    std::function<QString(const QString& filter, bool programs, const QString& current)> PickFile;
    // The colour chooser of the colour buttons, opened on `initial`;
    // nothing when cancelled. By default the colour dialog.
    std::function<std::optional<QColor>(const QColor& initial)> PickColor;
    // How a failure of OK is reported; by default the program's error box.
    std::function<void(const QString& message)> ReportError;

    // The file filters of the path buttons.
    static const QString kTeXFilter;
    static const QString kDviViewerFilter;
    static const QString kOutCommandFilter;
    static const QString kTopFilter;

    // --- handlers ---
    // Fills the controls refreshed at every opening and shows the dialog
    // modally; returns the dialog's result.
    int ToolPathExecute();
    // The filling part of ToolPathExecute.
    void FillForOpening();
    void FormCreate();
    void ButtonOKClick();
    void ButtonCancelClick();
    void ButtonTeXPathClick();
    void ButtonDVIOUTPathClick();
    void ButtonOutCommandClick();
    void ButtonTOPPATHClick();
    void ButtonAddMathClick();
    void Button2Click();
    void ButtonKeywordClick();
    void ButtonCommentClick();
    void ListFontSizeClick();

private:
    void BuildLayout();
    void FillMathGrid();
    void PickInto(QLineEdit* field, const QString& filter, bool programs);
    std::optional<QColor> ChooseColor();

    TFormMain* main_;
    // The colour the colour dialog last returned; it opens on it.
    QColor lastColor_ = Qt::black;
    QString lastFolder_;
};
