#pragma once
#include <QByteArray>
#include <QDialog>
#include <QProcess>
#include <QString>

#include "build/ConsoleDecoder.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
struct TypesetterCommand;

// The compile window: the typesetter's console. Modal over the main window
// while the typesetter runs, so that the document cannot be edited and no
// second compile starts, while the main window still repaints. It shows the
// typesetter's output as it comes, sends each line typed into its input line
// to the typesetter (its "?" prompt is answered as in a terminal), stops it
// with "中止" (or Escape, or the window's close button), and closes by itself
// when the typesetter ends.
class TFormCompile : public QDialog {
    Q_OBJECT

public:
    // How long a stopped typesetter is given to end before it is killed.
    static constexpr int kKillDelayMs = 2000;

    struct Result {
        bool Started = false;
        bool Stopped = false;  // ended by the user
        int ExitCode = -1;
        // Why it could not be started (when Started is false).
        QString StartError;
    };

    explicit TFormCompile(QWidget* parent = nullptr);
    ~TFormCompile() override;

    // Starts the command and runs the window until the typesetter ends. When
    // it cannot be started the window is not shown.
    Result Run(const TypesetterCommand& command);

    QPlainTextEdit* Output;
    QLineEdit* Input;
    QPushButton* ButtonStop;

    // The user stops the typesetter: terminated now, killed when it has not
    // ended kKillDelayMs later.
    void ButtonStopClick();
    // The input line's text goes to the typesetter as one line.
    void InputReturnPressed();

    bool Running() const;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ReadOutput();
    // Output is shown a slice at a time, so that a burst of thousands of
    // lines never holds up the event loop.
    void Append(const QString& text);
    void ShowPending(int budgetMs);

    QProcess* process_ = nullptr;
    QTimer* killTimer_;
    QTimer* showTimer_;
    QString pending_;
    ConsoleDecoder decoder_;
    Result result_;
};
