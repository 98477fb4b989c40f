#include "editor/TEditorPopupMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "editor/TEditor.h"

TEditorPopupMenu::TEditorPopupMenu(TEditor& editor) : editor_(editor), menu_(new QMenu(&editor))
{
    TEditorCore& core = editor_.Core();
    QMenu* set = menu_->addMenu(QStringLiteral("マーク設定"));
    QMenu* jump = menu_->addMenu(QStringLiteral("マークジャンプ"));
    for (int n = 0; n < 10; ++n) {
        const QString digit = QString::number(n);
        QAction* item = Add(set, digit, QKeySequence(QStringLiteral("Shift+Ctrl+") + digit), [&core, n] {
            if (core.GetRowMarks(core.Row()) & (1u << n))
                core.DeleteMark(core.Row(), n);
            else
                core.PutMark(core.Row(), n);
        });
        item->setCheckable(true);
        markSet_.push_back(item);
        markJump_.push_back(Add(jump, digit, QKeySequence(QStringLiteral("Ctrl+") + digit), [&core, n] {
            core.GotoMark(n);
        }));
    }
    menu_->addSeparator();
    undo_ = Add(menu_, QStringLiteral("元に戻す(&U)"), QKeySequence(QStringLiteral("Ctrl+Z")), [&core] { core.Undo(); });
    redo_ = Add(menu_, QStringLiteral("やり直し(&R)"), QKeySequence(QStringLiteral("Ctrl+A")), [&core] { core.Redo(); });
    menu_->addSeparator();
    cut_ = Add(menu_, QStringLiteral("切り取り(&T)"), QKeySequence(QStringLiteral("Ctrl+X")),
               [&core] { core.CutToClipboard(); });
    copy_ = Add(menu_, QStringLiteral("コピー(&C)"), QKeySequence(QStringLiteral("Ctrl+C")),
                [&core] { core.CopyToClipboard(); });
    paste_ = Add(menu_, QStringLiteral("貼り付け(&P)"), QKeySequence(QStringLiteral("Ctrl+V")),
                 [&core] { core.PasteFromClipboard(); });
    boxPaste_ = Add(menu_, QStringLiteral("Box貼り付け(&B)"), QKeySequence(QStringLiteral("Ctrl+B")), [this, &core] {
        // The clipboard's text as a box, with or without the box format;
        // text the code page cannot hold is refused with a message.
        if (const std::optional<std::string> bytes = editor_.ClipboardBytes())
            core.PasteBox(*bytes);
    });
    delete_ = Add(menu_, QStringLiteral("削除(&D)"), QKeySequence(), [&core] { core.SetSelText({}); });
    menu_->addSeparator();
    selectAll_ = Add(menu_, QStringLiteral("すべて選択(&A)"), QKeySequence(), [&core] { core.SelectAll(); });
    menu_->addSeparator();
    boxMode_ = Add(menu_, QStringLiteral("Box選択モード(&K)"), QKeySequence(QStringLiteral("Ctrl+K")),
                   [&core] { core.SetBoxMode(!core.BoxMode()); });
    boxMode_->setCheckable(true);
}

TEditorPopupMenu::~TEditorPopupMenu() = default;

QAction* TEditorPopupMenu::Add(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                               std::function<void()> run)
{
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    // Shown in the menu; the editor runs the shortcuts itself.
    action->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(action, &QAction::triggered, menu, [run = std::move(run)] { run(); });
    all_.push_back(action);
    return action;
}

void TEditorPopupMenu::Refresh()
{
    const TEditorCore& core = editor_.Core();
    const bool writable = !core.ReadOnly();
    const bool selected = core.SelLength() > 0;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const bool clipboardText = data && (data->hasText() || data->hasFormat(QString::fromLatin1(TEditor::kBytesMimeType)));
    undo_->setEnabled(core.Store().UndoObj().CanUndo() && writable);
    redo_->setEnabled(core.Store().UndoObj().CanRedo() && writable);
    cut_->setEnabled(selected && writable);
    copy_->setEnabled(selected);
    paste_->setEnabled(clipboardText && writable);
    boxPaste_->setEnabled(clipboardText && writable);
    delete_->setEnabled(selected && writable);
    selectAll_->setEnabled(core.RowCount() > 0);
    boxMode_->setChecked(core.BoxMode());
    const uint16_t used = core.Store().UsedMarks();
    for (int n = 0; n < 10; ++n)
        markSet_[static_cast<size_t>(n)]->setChecked((used & (1u << n)) != 0);
}

void TEditorPopupMenu::Popup(const QPoint& globalPos)
{
    Refresh();
    menu_->popup(globalPos);
}

QAction* TEditorPopupMenu::Find(const QKeyEvent* event) const
{
    // Every shortcut of the menu has Ctrl: plain typing never looks further.
    if (event->key() == Qt::Key_unknown || event->key() == 0 || !(event->modifiers() & Qt::ControlModifier))
        return nullptr;
    // Shift+Ctrl+digit arrives with the shifted character on many layouts:
    // match on the key's digit when the native key names one.
    int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier
                                                             | Qt::AltModifier | Qt::MetaModifier);
    if ((mods & Qt::ShiftModifier) && (mods & Qt::ControlModifier)) {
        const quint32 native = event->nativeVirtualKey();
        if (native >= '0' && native <= '9')
            key = static_cast<int>(native);
    }
    const QKeySequence pressed(QKeyCombination(mods, static_cast<Qt::Key>(key)));
    for (QAction* action : all_)
        if (!action->shortcut().isEmpty() && action->shortcut().matches(pressed) == QKeySequence::ExactMatch)
            return action;
    return nullptr;
}

bool TEditorPopupMenu::MatchesShortcut(const QKeyEvent* event) const { return Find(event) != nullptr; }

bool TEditorPopupMenu::MatchesShortcut(QKeyCombination key) const
{
    const QKeySequence pressed(key);
    for (QAction* action : all_)
        if (!action->shortcut().isEmpty() && action->shortcut().matches(pressed) == QKeySequence::ExactMatch)
            return true;
    return false;
}

bool TEditorPopupMenu::RunShortcut(const QKeyEvent* event)
{
    QAction* action = Find(event);
    if (!action)
        return false;
    Refresh();
    if (action->isEnabled())
        action->trigger();
    return true;
}
