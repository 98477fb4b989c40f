#pragma once
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <string>

#include "tex/TTeXCommand.h"

class QInputMethodEvent;
class QKeyEvent;
class TFormMain;

// Completion of TeX commands in the main window's editor: the four
// candidate lists, the floating list SerchList and the keys that drive it.
//
// It previews the editor's keys (an event filter that runs before the
// editor): a backslash opens the list of commands (Ctrl: the set-up
// commands; inside math: the math commands), "%" at the start of a line the
// templates; typing narrows the list, Up and Down move in it, Enter accepts.
// Accepting replaces the typed text by the entry's command, puts the caret
// at its caret marker and shows its help in the help window.
//
// With an input method on, the backslash key starts a composition instead of
// reaching the editor. A composition that begins with a backslash or yen
// sign alone (\ ¥ ＼ ￥) is taken for that key: it is cancelled, a backslash
// is typed and the list opens, and the input method stays off while the
// list is shown.
class CommandCompletion : public QObject {
    Q_OBJECT

public:
    // The list files in the order the lists are created: kinds 1 to 4.
    static const std::array<const char*, 4> kListFiles;

    explicit CommandCompletion(TFormMain& form);
    ~CommandCompletion() override;

    // Creates the four lists from `folder` (the commands folder when
    // empty), kind 1 first. Returns the report of the lists that could not
    // be read, one line per file; empty when all were read.
    QString CreateLists(const QString& folder = {});
    // Reloads the four lists from their files and tells the user, once, of
    // any that could not be read.
    void RunUpdateList();
    // The list of a candidate kind: 2, 3 and 4 their own, any other kind 1.
    TTeXCommand& ListForKind(int kind);
    QString Folder() const { return folder_; }

    int CandidateKind() const { return kind_; }
    bool SwallowEnter() const { return swallowEnter_; }
    bool InputMethodSwitchedOff() const { return imeOff_; }

    // --- the handlers ---
    // A key went down in the editor; true when it was consumed.
    bool FormKeyDown(QKeyEvent* event);
    // The character of that key; true when it is dropped.
    bool FormKeyPress(const QString& text);
    void FormKeyUp() {}
    // An input-method event for the editor; true when it was taken as the
    // backslash key and must not reach the editor.
    bool MemoBackKeyDown(QInputMethodEvent* event);
    // The editor's text changed: narrows the list.
    void EditorStatusChange();
    void SerchListDblClick();
    void HideCompletion();
    // Puts the list below the caret line at x (or above it, or left of x,
    // where it would not fit); (x, y) is the caret's top left in the
    // editor's coordinates.
    void PlaceCompletion(int y, int x);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Caret {
        int line = 0;   // logical line; the line count on the row after the last
        int index = 0;  // bytes of that line before the caret
        QPoint pixel;   // top left of the caret cell, in the editor's coordinates
    };
    Caret CaretNow() const;
    bool InsideMath(int line, int index) const;
    void Filter();
    // Types a backslash at the caret, as the editor would.
    void TypeBackslash();
    void ShowList(const QPoint& at);
    // Accepts the list's selected item.
    void Accept();
    // Replaces line `line` of the editor by `lines` in one step.
    void ReplaceLine(int line, const std::vector<std::string>& lines);
    void SetInputMethod(bool enabled);

    TFormMain& form_;
    QString folder_;
    std::array<std::unique_ptr<TTeXCommand>, 4> lists_;
    int kind_ = 1;
    bool swallowEnter_ = false;
    bool imeOff_ = false;
    bool inserting_ = false;  // our own edit: its change is not filtered
};
