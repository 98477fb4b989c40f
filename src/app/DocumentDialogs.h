#pragma once
#include "app/DocumentPrompts.h"

class QWidget;

// The document prompts as the program shows them: message boxes and the file
// dialogs, modal over `parent`.
class DocumentDialogs : public DocumentPrompts {
public:
    explicit DocumentDialogs(QWidget* parent) : parent_(parent) {}

    SaveAnswer AskSaveChanges() override;
    std::string GetOpenFileName(const std::string& lastName) override;
    std::string GetSaveFileName(const std::string& lastName) override;
    void ShowError(const QString& message) override;
    void ShowNotice(const QString& message) override;

private:
    QWidget* parent_;
};
