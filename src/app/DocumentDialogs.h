#pragma once
#include <string>

#include "app/DocumentPrompts.h"

class QString;
class QWidget;

// The system path of a name the file dialog returned: Qt's own encoding of
// it, except where that loses bytes of a name that is not UTF-8; those parts
// are looked up among their folder's entries as bytes.
std::string SystemPathOfDialogName(const QString& name);

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
