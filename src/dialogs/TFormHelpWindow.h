#pragma once
#include <QWidget>

class QPlainTextEdit;

// A floating window that stays above the others and shows the help text of
// the TeX command last inserted from the completion list.
class TFormHelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit TFormHelpWindow(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;

    // Replaces the whole text, whether the window is shown or not.
    void SetHelpText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
