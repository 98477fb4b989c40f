#pragma once
#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QKeyCombination>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

#include "editor/TEditorCursors.h"
#include "editor/TEditorPainter.h"
#include "editor/TEditorPreedit.h"
#include "editor/WheelSteps.h"
#include "editor/core/TEditorCore.h"

class QMenu;
class TEditorPopupMenu;

// The editor control: a thin Qt shell over TEditorCore. It turns Qt's key,
// input-method, mouse, focus, wheel and scroll-bar events into core calls,
// serves the core's window needs (metrics, repaint, scrolling, the caret,
// the clipboard), and paints through TEditorPainter.
class TEditor : public QAbstractScrollArea, private TEditorViewServices {
    Q_OBJECT

public:
    // The private clipboard formats: the exact Shift-JIS bytes of every copy,
    // and the mark of a box selection.
    static const char* const kBytesMimeType;
    static const char* const kBoxMimeType;

    explicit TEditor(QWidget* parent = nullptr);
    ~TEditor() override;

    TEditorCore& Core() { return core_; }
    const TEditorCore& Core() const { return core_; }
    TEditorStrings& Lines() { return core_.Lines(); }
    TEditorPainter& Painter() { return painter_; }
    // The font actually drawn with (an installed family for the stored one).
    const QFont& DrawFont() const { return drawFont_; }
    // The built-in context menu; it serves only while no pop-up menu is
    // assigned.
    TEditorPopupMenu* BuiltinPopupMenu() const { return popup_.get(); }
    // The menu shown on a right click instead of the built-in one. With one
    // assigned, the built-in menu and its shortcuts are gone: its keys reach
    // the window's shortcuts like any other. Null gives the built-in menu back.
    void SetPopupMenu(QMenu* menu);
    QMenu* PopupMenu() const { return popupMenu_; }
    // Whether the control acts on `key` itself while it has focus: the
    // editing and moving keys, typed characters, and the built-in menu's
    // shortcuts while no pop-up menu is assigned. Only the built-in menu's
    // shortcuts win over the window's; on the other keys a window shortcut
    // runs instead.
    bool TakesKey(QKeyCombination key) const;
    // The cursors per area; change them freely.
    TEditorCursors& Cursors() { return cursors_; }

    // Where the caret stands and how big it is, in viewport coordinates:
    // while the user composes, at the input method's cursor.
    QRect CaretRect() const;
    // The input method's unfinished text, shown but not yet in the document.
    const TEditorPreedit& Preedit() const { return preedit_; }
    bool CaretVisible() const { return caretShown_ && hasFocus(); }

    // The clipboard's text as Shift-JIS bytes: exact when another editor of
    // this program put it there. None when it holds no text, or text the
    // code page cannot hold (the user is then told).
    std::optional<std::string> ClipboardBytes() const { return ClipboardText(); }

    // Shows these characters white on black over the text until the next
    // call (an empty list shows none): the bracket-matching highlight.
    void SetBracketHighlight(std::vector<TEditorPainter::BracketMark> marks);
    const std::vector<TEditorPainter::BracketMark>& BracketHighlight() const { return painter_.BracketMarks(); }

    QSize sizeHint() const override { return QSize(185, 89); }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void Changed();
    void CaretMoved();
    void SelectionChanged(bool selected);
    // Something the user should read: a refused character, a paste that the
    // code page cannot hold.
    void MessageRequested(const QString& text);
    // The wheel turned one whole step: `delta` is +120 (away from the user)
    // or -120, once per step however the device divides it. Set *handled to
    // keep the control from scrolling for that step.
    void MouseWheel(Qt::KeyboardModifiers modifiers, int delta, bool* handled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;
    void scrollContentsBy(int, int) override {}

private:
    // --- TEditorViewServices ---
    int ClientWidth() const override;
    int ClientHeight() const override;
    int CharWidth() const override { return charWidth_; }
    int FontHeight() const override { return fontHeight_; }
    int HorizontalScrollBarHeight() const override { return 0; }
    int VerticalScrollBarWidth() const override { return 0; }
    void InvalidateRows(int firstRow, int lastRow) override;
    void InvalidateAll() override;
    void ScrollRowsBelow(int firstRow, int deltaRows) override;
    void InvalidateLeftbar(int firstRow, int lastRow) override;
    void ScrollText(int dx, int dy) override;
    void SetVerticalScrollBar(int max, int page, int position) override;
    void SetHorizontalScrollBar(int max, int page, int position) override;
    void CreateCaret(int width, int height) override;
    void SetCaretPos(int x, int y) override;
    void ShowCaret() override;
    void HideCaret() override;
    void RulerCaretMoved(int col) override;
    void SetClipboard(const std::string& text, const std::optional<std::string>& boxBytes) override;
    std::optional<std::string> ClipboardText() const override;
    bool ClipboardHasBoxFormat() const override;
    bool HasFocus() const override { return hasFocus(); }

    void InvalidateBracketMarks();
    void MeasureFont();
    void SyncScrollBarPolicy();
    void ScrollBarAction(bool vertical, int action);
    // Repaints the caret (and the preedit), and with `underline` the row
    // whose underline it carries.
    void UpdateCaretArea(bool underline = true);
    // Repaints the row that shows the preedit.
    void UpdateComposedRow();
    void RestartBlink();
    void UpdateMouseCursor(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    static TShiftState ShiftOf(Qt::KeyboardModifiers modifiers);
    // Encodes typed or committed text; false (and a message) when the code
    // page cannot hold a character of it.
    bool EncodeInput(const QString& text, std::string& bytes, bool paste = false);

    TEditorCore core_;
    TEditorPainter painter_;
    std::unique_ptr<TEditorPopupMenu> popup_;
    QPointer<QMenu> popupMenu_;
    TEditorCursors cursors_;
    QFont drawFont_;
    TEditorFont measuredFont_;  // the stored font drawFont_ was chosen for
    int charWidth_ = 8;
    int fontHeight_ = 16;

    QPoint caretPos_;
    QSize caretSize_;
    bool caretShown_ = false;
    bool blinkOn_ = true;
    QBasicTimer blink_;
    // Colours the rows below the screen while the program is idle, so that a
    // jump far down finds them ready.
    QTimer parseAhead_;
    TEditorPreedit preedit_;
    WheelSteps wheelSteps_;
    Qt::KeyboardModifiers wheelModifiers_;
};
