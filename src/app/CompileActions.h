#pragma once
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "build/TypesetterLog.h"

class QListWidget;
class TFormCompile;
class TFormMain;

// The three actions that hand the document to outside programs, and the
// error list: compiling with the typesetter (RunLaTeX), compiling and
// showing the DVI file (RunDviOut), running the external command
// (RunOutCommand); the list's rows, filled from the typesetter's log after
// each compile, and the jump from an error to its file and line.
//
// Each action first saves the document: a never-saved one gets the save
// dialog and the action ends there (the user starts it again); when the save
// fails nothing is run. The target is the configured top file when there is
// one, else the open document; with the root search on, the compile and the
// viewer work on the root document that includes it.
class CompileActions : public QObject {
    Q_OBJECT

public:
    static const QString kNoTargetMessage;
    static const QString kNoViewerMessage;

    explicit CompileActions(TFormMain& form);
    ~CompileActions() override;

    void RunLaTeXExecute();
    void RunDviOutExecute();
    void RunOutCommandExecute();

    // Compiles `target` (a path) with `program` in the compile window and
    // fills the error list from the log. Returns the document compiled (the
    // root found for the target), or empty when nothing was run.
    std::string RunTypesetter(const std::string& program, const std::string& target);
    // Shows the DVI file of `target` (of its root, with the root search on)
    // with the desktop's default application for DVI files; `viewer` is not
    // used. A viewer this program started for that file that still runs is
    // not started again.
    void ViewDvi(const std::string& viewer, const std::string& target);
    // Starts `command` on its own with the target's full path as its one
    // argument; nothing waits for it.
    void StartExternalCommand(const std::string& command, const std::string& target);

    // A double click (or Return) on a row of the error list: goes to the
    // line of that row's error entry, opening its file first when it is not
    // the open document (with the question about unsaved changes).
    void TeXStatusDblClick();

    // The target: the top file, else the open document.
    std::string Target() const;
    // The log the error list was last filled from.
    const TypesetterLog& Log() const { return log_; }
    // The compile window, while it is shown too.
    TFormCompile* CompileWindow() const { return compileWindow_; }

    // The messages; tests replace them. ShowError: the program's error box.
    // ShowInformation: a box titled "情報".
    std::function<void(const QString&)> ShowError;
    std::function<void(const QString&)> ShowInformation;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool SaveFirst();
    // The root to compile for `target`; empty (after saying so) when none.
    std::string CompileRoot(const std::string& target);
    void ShowDvi(const std::string& root);
    void FillErrorList(const std::string& folder, const std::string& logBytes);
    void GoToLine(int line);

    TFormMain& form_;
    QListWidget* list_;
    TFormCompile* compileWindow_;
    TypesetterLog log_;
    std::string logFolder_;
    // The viewers started, by the DVI file they show.
    std::map<std::string, std::int64_t> viewers_;
};
