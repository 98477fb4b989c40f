#pragma once
#include <QDialog>

#include <array>

#include "tex/MarginSnippet.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "余白設定": check boxes and whole numbers of millimetres for the page's
// margins and areas; "コピー" puts their \setlength lines on the clipboard
// for pasting into a preamble. Shown without blocking the main window;
// closing only hides it, so the values stay for the whole run (they are not
// saved).
class TFormYohaku : public QDialog {
    Q_OBJECT

public:
    explicit TFormYohaku(QWidget* parent = nullptr);

    QCheckBox* CheckHeaderHeight;
    QSpinBox* SpinHeaderHeight;
    QCheckBox* CheckHeadMargin;
    QSpinBox* SpinHeadMargin;
    QCheckBox* CheckTextHeight;
    QSpinBox* SpinTextHeight;
    QCheckBox* CheckFooterMargin;
    QSpinBox* SpinFooterMargin;
    QCheckBox* CheckFooterHeight;
    QSpinBox* SpinFooterHeight;
    QCheckBox* CheckTopMargin;
    QSpinBox* SpinTopMargin;
    QCheckBox* CheckLeftMargin;
    QSpinBox* SpinLeftMargin;
    QCheckBox* CheckTextWidth;
    QSpinBox* SpinTextWidth;
    QCheckBox* CheckRightMargin;
    QSpinBox* SpinRightMargin;
    QCheckBox* CheckBottomMargin;
    QSpinBox* SpinBottomMargin;
    QPushButton* ButtonOK;
    QPushButton* Button1;
    QLabel* Label1;

    // The dialog's settings, in the snippet's order.
    MarginSnippet::Values Values() const;

    // "コピー": the snippet replaces the clipboard's text.
    void Button1Click();
    // "閉じる(&C)": hides the dialog.
    void ButtonOKClick();

private:
    std::array<QCheckBox*, MarginSnippet::SettingCount> checks_{};
    std::array<QSpinBox*, MarginSnippet::SettingCount> spins_{};
};
