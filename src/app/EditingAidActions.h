#pragma once
#include <QObject>
#include <QString>

#include <functional>

class TEditor;
class TFormFindReplace;
class TFormYohaku;

// The main window's editing aids: markings and the jumps between them, find
// and replace, the line and comment operations, the character count and the
// margin dialog. It owns the two dialogs and gives the actions their work.
class EditingAidActions : public QObject {
    Q_OBJECT

public:
    // Enables action `name` and runs `handler` when it is triggered.
    using Connector = std::function<void(const char* name, std::function<void()> handler)>;

    EditingAidActions(QWidget* mainWindow, TEditor* editor);

    TFormFindReplace* FormFindReplace;
    TFormYohaku* FormYohaku;

    void Connect(const Connector& on);

    // "選択文字列は" n "字です。" for the selection, in a box without an icon
    // titled with the application's title.
    void RunWordCountExecute();
    static QString WordCountMessage(int count);
    // Shows the count; by default a message box with one OK button.
    std::function<void(const QString& title, const QString& text)> ShowMessage;

private:
    QWidget* mainWindow_;
    TEditor* editor_;
};
