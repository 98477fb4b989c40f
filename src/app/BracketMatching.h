#pragma once
#include <QObject>
#include <QString>

#include <functional>

class TEditor;

// Bracket matching in the main window: whenever the caret stops right before
// a bracket, both it and its partner are shown white on black until the
// caret moves again; when the partner cannot be found, the status bar says
// so. Any edit takes the highlight down, since it may have moved the text.
class BracketMatching : public QObject {
    Q_OBJECT

public:
    static const QString kNoPartnerMessage;  // "対応する括弧がありません。"

    // `status` sets the status bar's text.
    BracketMatching(TEditor& editor, std::function<void(const QString&)> status, QObject* parent = nullptr);

    // The handler of the editor's caret-moved notification.
    void EditorCaretMoved();

private:
    TEditor& editor_;
    std::function<void(const QString&)> status_;
};
