#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The program's name and version. It does not block the main window.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    static const char* const kWebPage;

    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon;  // the program's icon, 32 x 32
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QPushButton* OKButton;

    void CommentsClick();
    void OKButtonClick() { close(); }
};
