#pragma once

#include <QMainWindow>

class QLabel;
class TEditor;

// The window of the program until the full main window with its menus and
// files takes its place: one editor control on a document, and a status
// line with the caret position. It cannot save yet, and says so.
class EditorWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit EditorWindow(QWidget* parent = nullptr);

    // Loads the document at path into the editor. Throws std::runtime_error
    // (the message in UTF-8) when the file cannot be read; the editor then
    // keeps what it had.
    void Open(const QString& path);

    TEditor* Editor() const { return editor_; }

private:
    void ShowCaretPosition();

    TEditor* editor_;
    QLabel* position_;
    QLabel* message_;
};
