#pragma once
#include <QString>

#include <string>

// The questions and messages of opening and saving documents: the modal
// boxes and file dialogs the user answers. DocumentDialogs shows the real
// ones; tests answer with a fake.
class DocumentPrompts {
public:
    enum class SaveAnswer { Yes, No, Cancel };

    virtual ~DocumentPrompts() = default;

    // "ファイルが変更されています。保存しますか？" with Yes, No and Cancel;
    // closing the box is Cancel.
    virtual SaveAnswer AskSaveChanges() = 0;
    // The open dialog, starting with `lastName` (the name last chosen in it,
    // or empty). Returns the chosen path as the system's bytes; empty when
    // cancelled.
    virtual std::string GetOpenFileName(const std::string& lastName) = 0;
    // The save dialog, likewise. It never asks before overwriting.
    virtual std::string GetSaveFileName(const std::string& lastName) = 0;
    // The program's error report (title "Scrivlet", error icon); `message`
    // comes without its final full stop.
    virtual void ShowError(const QString& message) = 0;
    // Something the user should know about the opened file.
    virtual void ShowNotice(const QString& message) = 0;
};
