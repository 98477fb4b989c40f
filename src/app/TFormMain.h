#pragma once
#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <string>

#include "app/TSettings.h"
#include "editor/core/TEditorProp.h"

class CommandCompletion;
class MenuActionList;
class TTeXCommand;
class QLabel;
class QListView;
class QListWidget;
class QMenu;
class QSessionManager;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class BracketMatching;
class CompileActions;
class DocumentDialogs;
class DocumentFiles;
class EditingAidActions;
class DocumentOutline;
class OutlineTreeView;
class HelpViewer;
class TAboutBox;
class TEditor;
class TFormConfig;
class TFormHelpWindow;
class TFormNewCommand;
class TFormShortCut;

// The main window: the editor, the side panel with its four tabs, the menu
// band and tool bar, the status bar, and the action list every command runs
// through.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    // `settingsPath`: the settings file; empty for the user's own.
    explicit TFormMain(const QString& settingsPath = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

    // --- parts of the window ---
    TEditor* Editor;
    QToolBar* CoolBar1;
    QToolBar* ToolBarMenu;
    QToolBar* ToolBar1;
    QSplitter* Splitter1;
    QTabWidget* PageStatus;
    QListView* ListLabel;
    OutlineTreeView* SectionTree;
    QTreeWidget* FileTreeView;
    QListWidget* TeXStatus;
    QStatusBar* DebugStatusBar;
    QListWidget* SerchList;
    QMenu* ReOpen;
    QMenu* PopupMenu1;
    MenuActionList* Actions() const { return actions_; }

    // --- the other windows ---
    TAboutBox* AboutBox;
    TFormHelpWindow* FormHelpWindow;
    TFormShortCut* FormShortCut;
    // Created once the settings are read.
    TFormConfig* FormConfig = nullptr;
    TFormNewCommand* FormNewCommand;
    HelpViewer* Help;
    // Markings, find and replace, line operations and the margin dialog.
    EditingAidActions* EditingAids;

    // Shows or hides the help window and gives the keyboard back to the
    // main window's focused control.
    void ToolHelpWindowExecute();

    // Completion of TeX commands, with the four candidate lists.
    CommandCompletion* Completion;
    // The candidate list of a kind (1 commands, 2 set-up commands, 3 math,
    // 4 templates; any other value: 1).
    TTeXCommand& ListForKind(int kind);

    // The document's file side: open, save, history, title.
    DocumentFiles* Documents;
    // The side panel's label list, section tree and file tree.
    DocumentOutline* Outline;
    // The highlight of the brackets at the caret.
    BracketMatching* Brackets;
    // Compiling, viewing, the external command and the error list.
    CompileActions* Compile;
    // The editor's stored appearance and behaviour.
    TEditorProp EditorPropSetting;

    // --- program-wide state ---
    std::string CurrentFileName() const;
    QString LaTeXPath;
    QString DviOutPath;
    QString TopPath;
    QString OutCommandPath;
    bool WheelMove = false;
    bool SerchRoot = false;
    bool RenewTree = false;
    // The typesetter runs on past errors instead of stopping for an answer.
    bool NonStopMode = true;
    QStringList BeginMath;
    QStringList EndMath;

    // Paths are the system's bytes (DocumentPath.h).
    bool OpenDocument(const std::string& path);
    bool SaveDocument(const std::string& path);

    // Runs an action by name, as a menu click does; false when it is
    // missing or disabled.
    bool RunAction(const QString& name);
    // The status bar's one text panel.
    void SetStatusText(const QString& text);
    // Shows or hides the side panel and its splitter.
    void DisplayStatusExecute();
    bool SidePanelVisible() const;
    // One wheel step over the editor: Ctrl runs the marking jumps, otherwise
    // the caret moves a line (WheelMove) or the view two rows.
    void EditorMouseWheel(Qt::KeyboardModifiers modifiers, int wheelDelta);
    // On a first run (no typesetter path known) tells the user what to set
    // up, guesses the tools' paths (the DVI viewer, platex, the external
    // command) and shows the configuration dialog; returns whether it did.
    bool FirstRunCheck();
    // Tells the user, once, which candidate lists could not be read at
    // start and why (their lists are empty).
    void ReportUnreadLists();

    static const QString kFirstRunMessage;

    // True once the user let the program end (the exit action went ahead):
    // from then on close requests are granted without a question.
    bool Quitting() const { return quitting_; }
    // The desktop session is ending: asks about unsaved changes as the exit
    // action does (when `mayAsk`, or when there is nothing to ask) and
    // returns whether the program ends; false keeps it, and the session.
    bool SessionEnding(bool mayAsk);

signals:
    // The exit action went ahead: the message loop is to end. Emitted once.
    void Terminated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void ConfigureEditor();
    void ConnectActions();
    // The settings and shortcuts: read once at creation, written once when
    // the run ends (FinishRun: when the message loop ends, or at the latest
    // when the window is destroyed).
    void ReadSettings();
    void WriteSettings();
    void FinishRun();
    void Terminate();
    void CommitSessionData(QSessionManager& manager);
    void ApplySettings();
    // Runs `work`, reporting any error it raises in the program's error box.
    template <typename F>
    void Guarded(F&& work);

    MenuActionList* actions_;
    std::unique_ptr<DocumentDialogs> dialogs_;
    QString settingsPath_;
    TSettings settings_;
    QLabel* statusText_;
    QString listsReport_;
    bool quitting_ = false;
    bool finished_ = false;
};
