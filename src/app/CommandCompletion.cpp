#include "app/CommandCompletion.h"

#include <QFile>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QListWidget>

#include <algorithm>

#include "app/ErrorReport.h"
#include "app/TFormMain.h"
#include "dialogs/TFormHelpWindow.h"
#include "editor/TEditor.h"
#include "editor/core/LogicalLineReader.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/ShiftJisCodec.h"
#include "editor/core/TRowAttributeData.h"
#include "platform/PathDisplay.h"
#include "platform/ProgramDataFolder.h"
#include "tex/CandidateFilter.h"
#include "tex/CommandInsertion.h"
#include "tex/EditorLineSource.h"
#include "tex/TParseWord.h"
#include "tex/TeXCommandCollation.h"

const std::array<const char*, 4> CommandCompletion::kListFiles = {"TeX_Command.txt", "TeX_Command_SP.txt",
                                                                  "TeX_Command_Math.txt", "TeX_Template.txt"};

namespace {

// The list's rows are 16 pixels high.
constexpr int kItemHeight = 16;

// The keys that type a backslash: the backslash key of a US layout and the
// yen and ro keys of a Japanese one, whichever code the layout gives them.
bool IsBackslashKey(const QKeyEvent* event)
{
    const int key = event->key();
    const QString text = event->text();
    return key == Qt::Key_Backslash || key == Qt::Key_yen || text == QStringLiteral("\\") || text == QStringLiteral("¥");
}

bool IsPercentKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Percent || event->text() == QStringLiteral("%");
}

// What input methods give for the backslash key: backslash, yen sign and
// their full-width forms.
bool IsBackslashLike(const QString& text)
{
    return text == QStringLiteral("\\") || text == QStringLiteral("¥") || text == QStringLiteral("＼")
        || text == QStringLiteral("￥");
}

QString FromShiftJis(const std::string& bytes)
{
    return QString::fromStdString(ShiftJisCodec::DecodeToPlainUtf8(bytes));
}

std::vector<std::string> Bytes(const QStringList& list)
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(list.size()));
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

}  // namespace

CommandCompletion::CommandCompletion(TFormMain& form) : QObject(&form), form_(form)
{
    QListWidget* list = form_.SerchList;
    list->setFocusPolicy(Qt::NoFocus);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAttribute(Qt::WA_ShowWithoutActivating);
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { SerchListDblClick(); });
    connect(form_.Editor, &TEditor::Changed, this, &CommandCompletion::EditorStatusChange);
    form_.Editor->installEventFilter(this);
    for (std::unique_ptr<TTeXCommand>& l : lists_)
        l = std::make_unique<TTeXCommand>(std::string(), std::string());
}

CommandCompletion::~CommandCompletion() = default;

QString CommandCompletion::CreateLists(const QString& folder)
{
    folder_ = folder.isEmpty() ? ProgramDataFolder::CommandsFolder() : folder;
    const std::string bytes = QFile::encodeName(folder_).toStdString();
    const TTeXCommand::Collation collation = TeXCommandCollation();
    QStringList problems;
    for (size_t k = 0; k < lists_.size(); ++k) {
        lists_[k] = std::make_unique<TTeXCommand>(bytes, kListFiles[k], collation);
        if (!lists_[k]->LoadError().empty())
            problems << QStringLiteral("%1: %2")
                            .arg(QString::fromStdString(DisplayPathText(lists_[k]->Path())),
                                 QString::fromStdString(lists_[k]->LoadError()));
    }
    kind_ = 1;
    if (problems.isEmpty())
        return {};
    return QStringLiteral("次の補完候補のファイルを読み込めなかったため、その補完候補は空になります。\n")
        + problems.join(u'\n');
}

void CommandCompletion::RunUpdateList()
{
    HideCompletion();
    const QString report = CreateLists(folder_);
    if (!report.isEmpty())
        ShowErrorReport(&form_, report);
}

TTeXCommand& CommandCompletion::ListForKind(int kind)
{
    switch (kind) {
    case 2:
    case 3:
    case 4:
        return *lists_[static_cast<size_t>(kind - 1)];
    default:
        return *lists_[0];
    }
}

CommandCompletion::Caret CommandCompletion::CaretNow() const
{
    const TEditorCore& e = form_.Editor->Core();
    Caret caret;
    caret.line = e.RowToLine(e.Row());
    caret.index = std::max(0, e.RowColToCharIndex(e.Row(), e.Col()));
    const QPoint inViewport(e.TextAreaLeft() + (e.Col() - e.TopCol()) * e.ColWidth(),
                            e.TextAreaTop() + (e.Row() - e.TopRow()) * e.RowHeight());
    caret.pixel = form_.Editor->viewport()->mapTo(form_.Editor, inViewport);
    return caret;
}

bool CommandCompletion::InsideMath(int line, int index) const
{
    EditorLineSource source(form_.Editor->Core().Store());
    return TParseWord(source, "MATH", Bytes(form_.BeginMath), Bytes(form_.EndMath)).IsMath(line, index);
}

void CommandCompletion::TypeBackslash()
{
    // The row after the last line gets a new line holding the backslash.
    form_.Editor->Core().KeyPress("\\");
}

void CommandCompletion::PlaceCompletion(int y, int x)
{
    QListWidget* list = form_.SerchList;
    const int h = list->height();
    const int w = list->width();
    const int editorHeight = form_.Editor->height();
    const int editorWidth = form_.Editor->width();
    const int top = y + h > editorHeight - 10 ? y - h + 2 : y + form_.Editor->Core().FontHeight() + 2;
    const int left = x + w > editorWidth - 10 ? x - 1 - w : x - 1;
    list->move(std::max(0, left), std::max(0, top));
}

void CommandCompletion::ShowList(const QPoint& at)
{
    PlaceCompletion(at.y(), at.x());
    form_.SerchList->show();
    form_.SerchList->raise();
}

void CommandCompletion::SetInputMethod(bool enabled)
{
    TEditor* editor = form_.Editor;
    if (editor->testAttribute(Qt::WA_InputMethodEnabled) == enabled)
        return;
    editor->setAttribute(Qt::WA_InputMethodEnabled, enabled);
    if (editor->hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void CommandCompletion::HideCompletion()
{
    form_.SerchList->hide();
    if (imeOff_)
        SetInputMethod(true);
    imeOff_ = false;
    kind_ = 1;
}

bool CommandCompletion::FormKeyDown(QKeyEvent* event)
{
    TEditorCore& e = form_.Editor->Core();
    const Caret caret = CaretNow();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    QListWidget* list = form_.SerchList;
    const bool shown = list->isVisible();

    // "%" at the start of a line: the templates. The editor types the "%".
    if (caret.index == 0 && IsPercentKey(event)) {
        kind_ = 4;
        ShowList(caret.pixel);
        return false;
    }
    if (IsBackslashKey(event) && !shift && !(mods & Qt::AltModifier)) {
        // A second backslash is a TeX line break: no list.
        const std::string line = caret.line < e.Lines().GetCount() ? e.Lines().Get(caret.line) : std::string();
        const size_t before = static_cast<size_t>(caret.index);
        if (before > 0 && before <= line.size() && line[before - 1] == '\\'
            && !IsSecondByteAt(line, before - 1)) {
            HideCompletion();
            return false;
        }
        int index = caret.index;
        if (ctrl) {
            kind_ = 2;
            TypeBackslash();
            index = caret.index + 1;
        }
        if (InsideMath(caret.line, index))
            kind_ = 3;
        ShowList(caret.pixel);
        return ctrl;
    }
    switch (event->key()) {
    case Qt::Key_Up:
        if (shown && list->currentRow() != 0) {
            list->setCurrentRow(list->currentRow() < 0 ? -1 : list->currentRow() - 1);
            return true;
        }
        HideCompletion();
        return false;
    case Qt::Key_Down:
        if (shown && list->currentRow() != list->count() - 1) {
            list->setCurrentRow(list->currentRow() + 1);
            return true;
        }
        HideCompletion();
        return false;
    case Qt::Key_Left:
    case Qt::Key_Right:
        return shown;
    case Qt::Key_Escape:
        if (!shown)
            return false;
        HideCompletion();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!shown)
            return false;
        if (list->count() > 0 && list->currentRow() >= 0) {
            Accept();
            swallowEnter_ = true;
            return true;
        }
        HideCompletion();
        return false;
    default:
        return false;
    }
}

bool CommandCompletion::FormKeyPress(const QString& text)
{
    if (swallowEnter_ && (text == QStringLiteral("\r") || text == QStringLiteral("\n"))) {
        swallowEnter_ = false;
        return true;
    }
    return false;
}

bool CommandCompletion::MemoBackKeyDown(QInputMethodEvent* event)
{
    TEditor* editor = form_.Editor;
    const QString preedit = event->preeditString();
    const QString commit = event->commitString();
    if (imeOff_) {
        // The input method is off while the list shows: what still comes
        // is left over from the composition that was cancelled.
        return !preedit.isEmpty() || !commit.isEmpty();
    }
    if (editor->Preedit().Active() || editor->Core().ReadOnly())
        return false;
    const bool starts = (commit.isEmpty() && IsBackslashLike(preedit)) || (preedit.isEmpty() && IsBackslashLike(commit));
    if (!starts)
        return false;
    // The key typed a backslash: the composition goes, the backslash comes.
    QGuiApplication::inputMethod()->reset();
    const Caret caret = CaretNow();
    if (InsideMath(caret.line, caret.index))
        kind_ = 3;
    SetInputMethod(false);
    imeOff_ = true;
    TypeBackslash();
    ShowList(caret.pixel);
    return true;
}

void CommandCompletion::EditorStatusChange()
{
    if (inserting_)
        return;
    // Narrowing the list never gets in the way of the edit that caused it.
    try {
        Filter();
    } catch (const std::exception&) {
    }
}

void CommandCompletion::Filter()
{
    const TEditorCore& e = form_.Editor->Core();
    const Caret caret = CaretNow();
    // Read in place: a keystroke on a long line must not copy it.
    LogicalLineReader reader(e.Store());
    const CandidateFilterResult result = caret.line < reader.Count()
        ? FilterCandidates(reader.Line(caret.line), caret.index, kind_ == 4, ListForKind(kind_).Names())
        : CandidateFilterResult();
    if (!result.show) {
        HideCompletion();
        return;
    }
    QListWidget* list = form_.SerchList;
    list->setUpdatesEnabled(false);
    list->clear();
    for (const std::string& name : result.names) {
        auto* item = new QListWidgetItem(FromShiftJis(name));
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        item->setSizeHint(QSize(0, kItemHeight));
        list->addItem(item);
    }
    list->setCurrentRow(-1);
    list->setUpdatesEnabled(true);
}

void CommandCompletion::SerchListDblClick()
{
    QListWidget* list = form_.SerchList;
    if (list->currentRow() < 0 && list->count() > 0)
        list->setCurrentRow(0);
    if (list->count() > 0)
        Accept();
}

void CommandCompletion::Accept()
{
    QListWidget* list = form_.SerchList;
    const QListWidgetItem* item = list->currentItem();
    const TTeXCommand& commands = ListForKind(kind_);
    const int found = item ? commands.IndexOfName(item->data(Qt::UserRole).toByteArray().toStdString()) : -1;
    const bool templates = kind_ == 4;
    if (found < 0) {
        HideCompletion();
        return;
    }
    const std::string entry = commands.Entries()[static_cast<size_t>(found)];
    TEditorCore& e = form_.Editor->Core();
    const Caret caret = CaretNow();
    const bool onLine = caret.line < e.Lines().GetCount();
    CommandInsertion insertion;
    if (templates) {
        insertion = InsertTemplate(caret.line, entry);
    } else {
        const std::string line = onLine ? e.Lines().Get(caret.line) : std::string();
        insertion = InsertCommand(line, caret.line, caret.index, entry);
    }
    ReplaceLine(caret.line, insertion.lines);
    HideCompletion();
    form_.FormHelpWindow->SetHelpText(FromShiftJis(TTeXCommand::ReplaceMarker(insertion.help, "\r\n", "\n")));
    e.SetCaretByIndex(e.LineToRow(insertion.caretLine), insertion.caretOffset);
}

void CommandCompletion::ReplaceLine(int line, const std::vector<std::string>& lines)
{
    TEditorCore& e = form_.Editor->Core();
    TEditorScreenStrings& store = e.Store();
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    e.ClearSelection();
    inserting_ = true;
    if (line >= store.LineCount()) {
        // The row after the last line.
        store.ReplaceRows(store.GetCount(), 0, text);
    } else {
        const int first = store.LineToRow(line);
        const int last = store.LineEndRow(first);
        if (store.GetRowAttribute(last) == raLineBreak)
            text += "\r\n";
        store.ReplaceRows(first, last - first + 1, text);
    }
    inserting_ = false;
}

bool CommandCompletion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != form_.Editor)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        bool consumed = false;
        bool dropped = false;
        try {
            consumed = FormKeyDown(key);
            dropped = FormKeyPress(key->text());
        } catch (const std::exception& error) {
            ShowErrorReport(&form_, QString::fromUtf8(error.what()));
            return true;
        }
        return consumed || dropped;
    }
    case QEvent::KeyRelease:
        FormKeyUp();
        return false;
    case QEvent::ShortcutOverride: {
        // The keys completion acts on reach the editor before any shortcut.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool shown = form_.SerchList->isVisible();
        const int k = key->key();
        if ((IsBackslashKey(key) && !(key->modifiers() & (Qt::ShiftModifier | Qt::AltModifier)))
            || (shown && (k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_Left || k == Qt::Key_Right
                          || k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape))) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::InputMethod:
        try {
            return MemoBackKeyDown(static_cast<QInputMethodEvent*>(event));
        } catch (const std::exception& error) {
            ShowErrorReport(&form_, QString::fromUtf8(error.what()));
            return true;
        }
    default:
        return QObject::eventFilter(watched, event);
    }
}
