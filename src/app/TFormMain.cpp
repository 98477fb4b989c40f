#include "app/TFormMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSessionManager>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "app/CompileActions.h"
#include "app/CommandCompletion.h"
#include "app/ErrorReport.h"
#include "app/BracketMatching.h"
#include "app/DocumentDialogs.h"
#include "app/DocumentFiles.h"
#include "app/EditingAidActions.h"
#include "app/DocumentOutline.h"
#include "app/OutlineTreeView.h"
#include "app/MenuActionList.h"
#include "app/ShortCutPrecedence.h"
#include "app/ShortCutStore.h"
#include "app/WindowGeometryClamp.h"
#include "dialogs/FileAssociationAction.h"
#include "dialogs/TFormConfig.h"
#include "dialogs/TFormNewCommand.h"
#include "dialogs/TFormShortCut.h"
#include "platform/DefaultOutCommand.h"
#include "platform/ToolDiscovery.h"
#include "platform/IniRegistry.h"
#include "dialogs/TAboutBox.h"
#include "dialogs/TFormHelpWindow.h"
#include "platform/HelpViewer.h"
#include "editor/TEditor.h"
#include "editor/core/ShiftJisCodec.h"

const QString TFormMain::kFirstRunMessage = QStringLiteral("まず最初に、pLaTeXとdvioutの場所を指定してください。");

namespace {

// Stored option strings are Shift-JIS bytes like the text they act on.
std::string Sjis(const char* utf8)
{
    std::string bytes;
    ShiftJisCodec::EncodeUtf8(utf8, bytes);
    return bytes;
}

}  // namespace

template <typename F>
void TFormMain::Guarded(F&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        ShowErrorReport(this, QString::fromUtf8(error.what()));
    }
}

TFormMain::TFormMain(const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent), actions_(new MenuActionList(this)), settingsPath_(settingsPath)
{
    setWindowTitle(QStringLiteral("Scrivlet"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    BuildLayout();
    // The other windows, hidden until asked for.
    AboutBox = new TAboutBox(this);
    FormHelpWindow = new TFormHelpWindow(this);
    FormShortCut = new TFormShortCut(actions_, this);
    FormNewCommand = new TFormNewCommand({}, this);
    Help = new HelpViewer(this);
    ConfigureEditor();
    EditingAids = new EditingAidActions(this, Editor);
    Completion = new CommandCompletion(*this);
    BuildMenus();
    dialogs_ = std::make_unique<DocumentDialogs>(this);
    Documents = new DocumentFiles(*Editor, *dialogs_, this, ReOpen, this);
    connect(Documents, &DocumentFiles::TerminateRequested, this, &TFormMain::Terminate);
    Outline = new DocumentOutline(*Editor, *Documents, ListLabel, SectionTree, FileTreeView, [this] { return RenewTree; },
                                  this);
    Brackets = new BracketMatching(*Editor, [this](const QString& text) { SetStatusText(text); }, this);
    Compile = new CompileActions(*this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TFormMain::FinishRun);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TFormMain::CommitSessionData, Qt::DirectConnection);
    ConnectActions();
    new ShortCutPrecedence(*actions_, this);
    setAcceptDrops(true);
    setGeometry(100, 100, 640, 480);
    ReadSettings();
    // The configuration dialog fills some of its controls from the settings
    // once, when it is made.
    FormConfig = new TFormConfig(this);
    Guarded([this] { listsReport_ = Completion->CreateLists(); });
}

void TFormMain::ReportUnreadLists()
{
    if (!listsReport_.isEmpty())
        ShowErrorReport(this, listsReport_);
    listsReport_.clear();
}

TTeXCommand& TFormMain::ListForKind(int kind) { return Completion->ListForKind(kind); }

TFormMain::~TFormMain() { FinishRun(); }

void TFormMain::FinishRun()
{
    if (finished_)
        return;
    finished_ = true;
    WriteSettings();
}

void TFormMain::Terminate()
{
    if (quitting_)
        return;
    quitting_ = true;
    emit Terminated();
}

std::string TFormMain::CurrentFileName() const { return Documents->CurrentFileName(); }

bool TFormMain::OpenDocument(const std::string& path) { return Documents->OpenDocument(path); }

bool TFormMain::SaveDocument(const std::string& path) { return Documents->SaveDocument(path); }

void TFormMain::ReadSettings()
{
    Guarded([this] {
        IniRegistry reg(settingsPath_.isEmpty() ? IniRegistry::DefaultPath() : settingsPath_.toStdString(),
                        TSettings::SettingsKey);
        std::vector<std::string> unread = settings_.Read(reg, EditorPropSetting, &Editor->Core());
        ApplySettings();
        for (std::string& line : ShortCutStore::LoadShortCuts(reg, *actions_))
            unread.push_back(std::move(line));
        // One report for everything that could not be read.
        QStringList report;
        if (!unread.empty()) {
            report << QStringLiteral("次の設定を読み込めなかったため、既定値を使います。");
            for (const std::string& line : unread)
                report << QString::fromStdString(line);
        }
        if (reg.DamageCount() > 0) {
            if (!report.isEmpty())
                report << QString();
            report << QStringLiteral("設定ファイル %1 の次の %2 行が壊れていました。")
                          .arg(QString::fromStdString(reg.Path()))
                          .arg(reg.DamageCount());
            report << QString::fromStdString(reg.DamageReport()).trimmed();
            report << QStringLiteral("終了時に設定を書き込む前に、元のファイルを %1 として残します。")
                          .arg(QString::fromStdString(reg.BackupPath()));
        }
        if (!report.isEmpty())
            ShowErrorReport(this, report.join(u'\n'));
    });
}

void TFormMain::ApplySettings()
{
    // A stored geometry may come from another desktop, or be garbage: the
    // window is put where the screens of this one can show it.
    std::vector<WindowRect> screens;
    QList<QScreen*> all = QGuiApplication::screens();
    // The primary screen first: it takes a window that is on none of them.
    std::stable_partition(all.begin(), all.end(),
                          [](const QScreen* screen) { return screen == QGuiApplication::primaryScreen(); });
    for (const QScreen* screen : all) {
        const QRect area = screen->availableGeometry();
        screens.push_back(WindowRect{area.x(), area.y(), area.width(), area.height()});
    }
    const WindowRect placed =
        ClampWindowGeometry(WindowRect{settings_.Left, settings_.Top, settings_.Width, settings_.Height}, screens);
    setGeometry(placed.Left, placed.Top, placed.Width, placed.Height);
    LaTeXPath = QString::fromStdString(settings_.LaTeXPath);
    DviOutPath = QString::fromStdString(settings_.DviOutPath);
    TopPath = QString::fromStdString(settings_.TopPath);
    OutCommandPath = QString::fromStdString(settings_.OutCommandPath);
    PageStatus->setVisible(settings_.PageStatusVisible);
    if (QSplitterHandle* handle = Splitter1->handle(1))
        handle->setVisible(settings_.Splitter1Visible);
    WheelMove = settings_.WheelMove;
    SerchRoot = settings_.SerchRoot;
    RenewTree = settings_.RenewTree;
    NonStopMode = settings_.NonStopMode;
    BeginMath.clear();
    EndMath.clear();
    for (const std::string& m : settings_.BeginMath)
        BeginMath << QString::fromStdString(m);
    for (const std::string& m : settings_.EndMath)
        EndMath << QString::fromStdString(m);
    // The history's paths are bytes, stored as they are.
    Documents->SetHistory(settings_.ReOpen);
    SerchList->setFont(Editor->DrawFont());
}

void TFormMain::WriteSettings()
{
    Guarded([this] {
        const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
        settings_.Left = normal.left();
        settings_.Top = normal.top();
        settings_.Width = normal.width();
        settings_.Height = normal.height();
        settings_.LaTeXPath = LaTeXPath.toStdString();
        settings_.DviOutPath = DviOutPath.toStdString();
        settings_.TopPath = TopPath.toStdString();
        settings_.OutCommandPath = OutCommandPath.toStdString();
        settings_.PageStatusVisible = !PageStatus->isHidden();
        settings_.WheelMove = WheelMove;
        settings_.SerchRoot = SerchRoot;
        settings_.RenewTree = RenewTree;
        settings_.NonStopMode = NonStopMode;
        settings_.BeginMath.clear();
        settings_.EndMath.clear();
        for (const QString& m : BeginMath)
            settings_.BeginMath.push_back(m.toStdString());
        for (const QString& m : EndMath)
            settings_.EndMath.push_back(m.toStdString());
        settings_.ReOpen = Documents->History();
        IniRegistry reg(settingsPath_.isEmpty() ? IniRegistry::DefaultPath() : settingsPath_.toStdString(),
                        TSettings::SettingsKey);
        settings_.Write(reg, EditorPropSetting, &Editor->Core());
        ShortCutStore::SaveShortCuts(reg, *actions_);
        reg.Flush();
    });
}

void TFormMain::BuildLayout()
{
    // The cool bar: the menu band and the tool bar on one line.
    CoolBar1 = new QToolBar(QStringLiteral("CoolBar1"), this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setMovable(false);
    CoolBar1->setFloatable(false);
    CoolBar1->setFixedHeight(28);
    CoolBar1->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, CoolBar1);
    ToolBarMenu = new QToolBar(QStringLiteral("ToolBarMenu"), CoolBar1);
    ToolBarMenu->setObjectName(QStringLiteral("ToolBarMenu"));
    ToolBar1 = new QToolBar(QStringLiteral("ToolBar1"), CoolBar1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    CoolBar1->addWidget(ToolBarMenu);
    CoolBar1->addSeparator();
    CoolBar1->addWidget(ToolBar1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    Editor = new TEditor(Splitter1);
    Editor->setObjectName(QStringLiteral("Editor"));

    PageStatus = new QTabWidget(Splitter1);
    PageStatus->setObjectName(QStringLiteral("PageStatus"));
    QFont listFont(QStringLiteral("ＭＳ ゴシック"));
    listFont.setPixelSize(16);
    ListLabel = new QListView;
    ListLabel->setObjectName(QStringLiteral("ListLabel"));
    ListLabel->setFont(listFont);
    SectionTree = new OutlineTreeView;
    SectionTree->setObjectName(QStringLiteral("SectionTree"));
    FileTreeView = new QTreeWidget;
    FileTreeView->setObjectName(QStringLiteral("FileTreeView"));
    FileTreeView->setHeaderHidden(true);
    FileTreeView->setIndentation(19);
    FileTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TeXStatus = new QListWidget;
    TeXStatus->setObjectName(QStringLiteral("TeXStatus"));
    PageStatus->addTab(ListLabel, QStringLiteral("label"));
    PageStatus->addTab(SectionTree, QStringLiteral("Section"));
    PageStatus->addTab(FileTreeView, QStringLiteral("File"));
    PageStatus->addTab(TeXStatus, QStringLiteral("エラー"));
    PageStatus->setCurrentIndex(1);
    Splitter1->addWidget(Editor);
    Splitter1->addWidget(PageStatus);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({445, 195});
    setCentralWidget(Splitter1);

    DebugStatusBar = new QStatusBar(this);
    DebugStatusBar->setObjectName(QStringLiteral("DebugStatusBar"));
    DebugStatusBar->setFixedHeight(17);
    statusText_ = new QLabel(DebugStatusBar);
    DebugStatusBar->addWidget(statusText_, 1);
    setStatusBar(DebugStatusBar);

    // The completion list floats over the editor when shown.
    SerchList = new QListWidget(Editor);
    SerchList->setObjectName(QStringLiteral("SerchList"));
    SerchList->setSortingEnabled(true);
    SerchList->resize(233, 97);
    SerchList->hide();
}

void TFormMain::ConfigureEditor()
{
    TEditorCore& e = Editor->Core();
    TEditorCaret& caret = e.Caret();
    caret.SetAutoCursor(true);
    caret.SetAutoIndent(false);
    caret.SetBackSpaceUnIndent(false);
    caret.SetFreeCaret(false);
    caret.SetFreeRow(false);
    caret.SetInTab(false);
    caret.SetKeepCaret(true);
    caret.SetLockScroll(false);
    caret.SetNextLine(true);
    caret.SetPrevSpaceIndent(false);
    caret.SetRowSelect(true);
    caret.SetSelDragMode(dmAutomatic);
    caret.SetSelMove(false);
    caret.SetSoftTab(true);
    caret.SetStyle(csDefault);
    caret.SetTabIndent(false);
    caret.SetTabSpaceCount(8);

    TEditorFont font;
    font.Name = "FixedSys";
    font.Height = -13;
    font.Color = clBlack;
    e.SetFont(font);
    e.SetHitStyle(hsSelect);

    e.Imagebar().SetVisible(true);
    e.Imagebar().SetDigitWidth(0);
    e.Imagebar().SetMarkWidth(16);
    e.Imagebar().SetLeftMargin(2);
    e.Imagebar().SetRightMargin(2);

    TEditorMarks& marks = e.Marks();
    for (TEditorMark* m : {&marks.EofMark, &marks.RetMark, &marks.WrapMark, &marks.Underline}) {
        m->SetVisible(true);
        m->SetColor(clGray);
    }
    marks.HideMark.SetVisible(false);
    marks.HideMark.SetColor(clGray);

    e.Margin().SetCharacter(0);
    e.Margin().SetLeft(19);
    e.Margin().SetLine(0);
    e.Margin().SetTop(2);

    TEditorLeftbar& left = e.Leftbar();
    left.SetVisible(true);
    left.SetShowNumber(true);
    left.SetShowNumberMode(nmLine);
    left.SetColumn(4);
    left.SetEdge(true);
    left.SetLeftMargin(8);
    left.SetRightMargin(4);
    left.SetZeroBase(false);
    left.SetZeroLead(false);
    left.SetBkColor(clSilver);
    left.SetColor(clBlack);

    TEditorRuler& ruler = e.Ruler();
    ruler.SetVisible(true);
    ruler.SetEdge(true);
    ruler.SetGaugeRange(10);
    ruler.SetBkColor(clSilver);
    ruler.SetColor(clBlack);
    ruler.SetMarkColor(clBlack);

    e.View().ReserveWordList().Assign(std::vector<std::string>{"begin", "end", "section", "subsection", "subsubsection"});
    e.SetScrollBars(ssVertical);
    e.Speed().SetCaretVerticalAc(2);
    e.Speed().SetInitBracketsFull(false);
    e.Speed().SetPageVerticalRange(2);
    e.Speed().SetPageVerticalRangeAc(2);
    e.SetUndoListMax(64);

    TEditorColors& colors = e.View().Colors();
    colors.Comment.SetColor(clPurple);
    colors.Hit.SetColor(clPurple);
    colors.Hit.SetBkColor(clTeal);
    colors.Reserve.SetColor(clRed);
    colors.Reserve.SetBkColor(clWhite);
    colors.Select.SetColor(clWhite);
    colors.Select.SetBkColor(clNavy);
    e.View().SetCommenter("%");
    e.View().SetControlCode(false);
    e.View().SetMail(false);
    e.View().SetUrl(false);

    e.SetReadOnly(false);
    e.SetWantReturns(true);
    e.SetWantTabs(true);
    e.SetWordWrap(false);

    TEditorWrapOption& wrap = e.WrapOption();
    wrap.SetWrapByte(80);
    wrap.SetWordBreak(true);
    wrap.SetFollowRetMark(true);
    wrap.SetFollowPunctuation(true);
    wrap.SetLeading(true);
    wrap.SetFollowStr(Sjis("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
    wrap.SetLeadStr(Sjis("（［｛「『([{｢"));
    wrap.SetPunctuationStr(Sjis("、。，．,.｡､"));

    connect(Editor, &TEditor::MouseWheel, this, [this](Qt::KeyboardModifiers modifiers, int delta, bool* handled) {
        EditorMouseWheel(modifiers, delta);
        *handled = true;
    });
}

void TFormMain::BuildMenus()
{
    auto action = [this](const char* name) { return actions_->Action(QString::fromLatin1(name)); };
    auto item = [&](QMenu* menu, const char* name, const QString& caption = {}) {
        QAction* a = action(name);
        if (caption.isEmpty() || caption == a->text()) {
            menu->addAction(a);
            return;
        }
        // A menu item with its own caption that runs the action.
        QAction* shown = menu->addAction(a->icon(), caption);
        shown->setShortcut(a->shortcut());
        shown->setShortcutContext(Qt::WidgetShortcut);
        shown->setEnabled(a->isEnabled());
        connect(a, &QAction::changed, shown, [a, shown] {
            shown->setEnabled(a->isEnabled());
            shown->setShortcut(a->shortcut());
        });
        connect(shown, &QAction::triggered, a, &QAction::trigger);
    };

    auto addMenu = [&](const QString& caption) {
        auto* menu = new QMenu(caption, this);
        auto* button = new QToolButton(ToolBarMenu);
        button->setText(caption);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setAutoRaise(true);
        button->setFixedSize(70, 20);
        button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
        ToolBarMenu->addWidget(button);
        return menu;
    };

    QMenu* file = addMenu(QStringLiteral("ファイル(&F)"));
    item(file, "FileNew", QStringLiteral("新規作成(&N)"));
    item(file, "FileOpen", QStringLiteral("開く(&O)"));
    ReOpen = file->addMenu(QStringLiteral("開き直す"));
    ReOpen->setObjectName(QStringLiteral("ReOpen"));
    ReOpen->menuAction()->setStatusTip(QStringLiteral("以前開いたファイルを開く"));
    file->addSeparator();
    item(file, "FileSave1", QStringLiteral("上書き保存"));
    item(file, "FileSaveAs", QStringLiteral("名前を付けて保存(&A)"));
    file->addSeparator();
    item(file, "FileExit", QStringLiteral("終了(&X)"));

    QMenu* edit = addMenu(QStringLiteral("編集(&E)"));
    item(edit, "EditUndo1");
    item(edit, "EditRedo1");
    edit->addSeparator();
    item(edit, "EditCut1");
    item(edit, "EditCopy1");
    item(edit, "EditPaste1");
    item(edit, "EditDelete1");
    edit->addSeparator();
    item(edit, "EditSelectAll1");
    QMenu* lines = edit->addMenu(QStringLiteral("行操作"));
    for (const char* name : {"EditComentIn", "EditCommentOut", "EditCutLine", "EditMoveForward", "EditMoveLast"})
        item(lines, name);

    QMenu* search = addMenu(QStringLiteral("検索(&S)"));
    item(search, "SerchFind1");
    item(search, "SerchReplace1");
    item(search, "SerchFindNext1");
    search->addSeparator();
    item(search, "SerchMarkup");
    item(search, "SerchUP");
    item(search, "SerchDown");

    QMenu* run = addMenu(QStringLiteral("実行(&R)"));
    for (const char* name : {"RunLaTeX", "RunDviOut", "RunOutCommand", "RunRenewSecLab", "RunUpdateList"})
        item(run, name);

    QMenu* tool = addMenu(QStringLiteral("ツール(&T)"));
    QMenu* display = tool->addMenu(QStringLiteral("表示(&D)"));
    item(display, "DisplayStatus", QStringLiteral("サポートウインドウ"));
    item(display, "ToolHelpWindow");
    item(tool, "ToolCommand");
    item(tool, "ToolShortCut");
    tool->addSeparator();
    item(tool, "ToolPath");
    tool->addSeparator();
    item(tool, "RunWordCount");
    item(tool, "ToolYohaku");

    QMenu* help = addMenu(QStringLiteral("ヘルプ(&H)"));
    item(help, "HelpContents1", QStringLiteral("目次・検索(&C)"));
    item(help, "HelpTopicSearch1", QStringLiteral("トピックの表示(&T)"));
    item(help, "HelpVersion");

    // The tool bar.
    QStyle* s = style();
    action("FileNew")->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    action("FileOpen")->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    action("FileSave1")->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    action("RunLaTeX")->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    action("RunDviOut")->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    action("ToolCommand")->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    action("ToolPath")->setIcon(s->standardIcon(QStyle::SP_ComputerIcon));
    for (const char* name : {"FileNew", "FileOpen", "FileSave1", "-", "RunLaTeX", "RunDviOut", "-", "ToolCommand",
                             "ToolPath"}) {
        if (*name == '-') {
            ToolBar1->addSeparator();
            continue;
        }
        ToolBar1->addAction(action(name));
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action(name)))) {
            button->setAutoRaise(true);
            button->setFixedSize(20, 20);
            if (QByteArray(name) == "ToolPath")
                button->setToolTip(QStringLiteral("設定"));
        }
    }

    // The editor's context menu.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const char* name : {"EditCopy1", "EditCut1", "EditPaste1", "-", "SerchMarkup", "SerchUP", "SerchDown", "-",
                             "RunDviOut"}) {
        if (*name == '-')
            PopupMenu1->addSeparator();
        else
            PopupMenu1->addAction(action(name));
    }
    Editor->SetPopupMenu(PopupMenu1);
    FormShortCut->SetEditor(Editor);

    // Shortcuts work anywhere in the window.
    for (QAction* a : actions_->Actions()) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
}

void TFormMain::ConnectActions()
{
    auto on = [this](const char* name, auto handler) {
        QAction* a = actions_->Action(QString::fromLatin1(name));
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    };
    TEditorCore& e = Editor->Core();
    // The editing actions always act on the editor, whatever has focus.
    on("EditUndo1", [&e] { e.Undo(); });
    on("EditRedo1", [&e] { e.Redo(); });
    on("EditCut1", [&e] { e.CutToClipboard(); });
    on("EditCopy1", [this, &e] {
        // The help window is a tool window of this one, so its Ctrl+C comes
        // here: copy from its text when that has the focus.
        auto* memo = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
        if (memo && memo->window() != this) {
            memo->copy();
            return;
        }
        e.CopyToClipboard();
    });
    on("EditPaste1", [&e] { e.PasteFromClipboard(); });
    on("EditDelete1", [&e] { e.SetSelText({}); });
    on("EditSelectAll1", [&e] { e.SelectAll(); });
    on("DisplayStatus", [this] { DisplayStatusExecute(); });
    on("ToolHelpWindow", [this] { ToolHelpWindowExecute(); });
    on("HelpContents1", [this] { Help->ShowFinder(); });
    on("HelpTopicSearch1", [this] { Help->ShowContentsTopic(); });
    on("HelpVersion", [this] {
        AboutBox->show();
        AboutBox->raise();
    });
    on("FileNew", [this] { Documents->FileNew(); });
    on("FileOpen", [this] { Documents->FileOpen(); });
    on("FileSave1", [this] { Documents->FileSave1(); });
    on("FileSaveAs", [this] { Documents->FileSaveAs(); });
    // Once the program is ending the question has been answered.
    on("FileExit", [this] {
        if (!quitting_)
            Documents->FileExit();
    });
    on("ToolPath", [this] { FormConfig->ToolPathExecute(); });
    on("ToolKanren", [this] { ToolKanrenExecute(FormConfig && FormConfig->isVisible() ? static_cast<QWidget*>(FormConfig) : this); });
    EditingAids->Connect([&on](const char* name, std::function<void()> handler) { on(name, std::move(handler)); });
    on("RunRenewSecLab", [this] { Outline->RunRenewSecLabExecute(); });
    on("RunLaTeX", [this] { Compile->RunLaTeXExecute(); });
    on("RunDviOut", [this] { Compile->RunDviOutExecute(); });
    on("RunOutCommand", [this] { Compile->RunOutCommandExecute(); });
    on("RunUpdateList", [this] { Completion->RunUpdateList(); });
    // The modeless windows come to the front, shown or not.
    auto present = [](QWidget* window) {
        window->show();
        window->raise();
        window->activateWindow();
    };
    on("ToolShortCut", [this, present] { present(FormShortCut); });
    on("ToolCommand", [this, present] { present(FormNewCommand); });
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event)
{
    Guarded([&] { Documents->DropFiles(event->mimeData()->urls()); });
    event->acceptProposedAction();
}

bool TFormMain::RunAction(const QString& name) { return actions_->Run(name); }

void TFormMain::SetStatusText(const QString& text) { statusText_->setText(text); }

void TFormMain::ToolHelpWindowExecute()
{
    FormHelpWindow->setVisible(FormHelpWindow->isHidden());
    activateWindow();
    if (QWidget* focus = focusWidget())
        focus->setFocus();
}

bool TFormMain::SidePanelVisible() const { return !PageStatus->isHidden(); }

void TFormMain::DisplayStatusExecute()
{
    PageStatus->setVisible(PageStatus->isHidden());
    if (QSplitterHandle* handle = Splitter1->handle(1))
        handle->setVisible(!PageStatus->isHidden());
}

void TFormMain::EditorMouseWheel(Qt::KeyboardModifiers modifiers, int wheelDelta)
{
    // Whole steps of 120; the editor gathers the parts of a step that
    // fine-step wheels and touchpads send.
    const int steps = wheelDelta / 120;
    if (modifiers & Qt::ControlModifier) {
        for (int i = 0; i < std::abs(steps); ++i)
            RunAction(steps > 0 ? QStringLiteral("SerchUP") : QStringLiteral("SerchDown"));
        return;
    }
    TEditorCore& e = Editor->Core();
    const int lines = e.Store().LineCount();
    if (WheelMove) {
        const int line = e.RowToLine(e.Row()) - steps;
        if (line >= 0 && line < lines)
            e.SetRowCol(e.LineToRow(line), e.Col());
        return;
    }
    const int top = e.TopRow() - 2 * steps;
    if (top >= 0 && top < lines)
        e.SetTopRow(top);
}

bool TFormMain::FirstRunCheck()
{
    if (!LaTeXPath.isEmpty())
        return false;
    ShowInformation(this, kFirstRunMessage);
    // Each guess is kept as it is, also when it found nothing: the dialog
    // shown next lets the user put it right.
    const char* path = std::getenv("PATH");
    const std::string searchPath = path ? path : "";
    auto text = [](const std::string& bytes) { return QString::fromStdString(bytes); };
    DviOutPath = text(ToolDiscovery::DiscoverDviViewer(DefaultApplication::ProcessFolders(), searchPath));
    LaTeXPath = text(ToolDiscovery::DiscoverPlatex(searchPath));
    OutCommandPath = text(DefaultOutCommand());
    RunAction(QStringLiteral("ToolPath"));
    return true;
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // Every close request goes through the exit action, which asks about
    // unsaved changes; the stored geometry is that of the normal window.
    // Once the program is ending (by this request or an earlier one, or the
    // application's own quit, which closes every window) the close is
    // granted, so that the quit is not refused and asked about again.
    if (!quitting_) {
        showNormal();
        RunAction(QStringLiteral("FileExit"));
    }
    event->setAccepted(quitting_);
}

bool TFormMain::SessionEnding(bool mayAsk)
{
    if (quitting_)
        return true;
    // Without leave to ask, unsaved changes keep the program; the session
    // manager may end it all the same, but not on our word.
    if (!mayAsk && Editor->Core().Modified())
        return false;
    showNormal();
    RunAction(QStringLiteral("FileExit"));
    return quitting_;
}

void TFormMain::CommitSessionData(QSessionManager& manager)
{
    if (quitting_)
        return;
    // The save question needs the session manager's leave to interact.
    const bool interacting = Editor->Core().Modified() && manager.allowsInteraction();
    if (!SessionEnding(interacting) && interacting)
        manager.cancel();
    else if (interacting)
        manager.release();
}
