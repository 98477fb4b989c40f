#pragma once

#include <QMainWindow>

class QLabel;
class QPlainTextEdit;

// The main window until the editor control takes its place: shows a document
// read-only, each line decoded for display only. The document's bytes are
// never converted back, so nothing here can alter a file.
class PreviewWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    // Loads the document at path and shows it. Throws std::runtime_error (the
    // message in UTF-8) when the file cannot be opened; the window is then
    // left as it was.
    void Open(const QString& path);

private:
    QPlainTextEdit* Text;
    QLabel* Status;
};
