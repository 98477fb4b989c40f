#include "editor/TEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

#include "editor/BuiltinImages.h"
#include "editor/EditorFontChoice.h"
#include "editor/TEditorAccessible.h"
#include "editor/TEditorPopupMenu.h"
#include "editor/core/ShiftJisCodec.h"

const char* const TEditor::kBytesMimeType = "application/x-scrivlet-shift-jis";
const char* const TEditor::kBoxMimeType = "application/x-teditor-box-type";

TEditor::TEditor(QWidget* parent)
    : QAbstractScrollArea(parent), core_(*this), painter_(core_)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);

    core_.OnChange = [this] { emit Changed(); };
    core_.OnCaretMoved = [this] {
        RestartBlink();
        emit CaretMoved();
    };
    core_.OnSelectionChange = [this](bool selected) { emit SelectionChanged(selected); };
    core_.OnTopColChange = [this] {
        if (core_.Ruler().Visible())
            viewport()->update(0, 0, viewport()->width(), core_.TextAreaTop());
    };
    core_.OnAppearanceChange = [this] {
        SyncScrollBarPolicy();
        // A new colour or scroll-bar style leaves the font as it was.
        if (!(core_.Font() == measuredFont_))
            MeasureFont();
    };

    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { ScrollBarAction(true, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { ScrollBarAction(false, action); });
    SyncScrollBarPolicy();
    parseAhead_.setInterval(0);
    connect(&parseAhead_, &QTimer::timeout, this, [this] {
        // About a millisecond of work at a time, between other events.
        if (!core_.RowParser().ParseAhead(2000))
            parseAhead_.stop();
    });
    popup_ = std::make_unique<TEditorPopupMenu>(*this);
    painter_.SetPreedit(&preedit_);
    MeasureFont();
    core_.Resized();
    TEditorAccessible::Install();
}

TEditor::~TEditor() = default;

// --- font and layout ---------------------------------------------------------

void TEditor::MeasureFont()
{
    measuredFont_ = core_.Font();
    drawFont_ = EditorFontChoice::Resolve(core_.Font());
    const QFontMetrics metrics(drawFont_);
    charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('a')));
    fontHeight_ = std::max(1, metrics.height() + std::max(0, metrics.leading()));
    const int colWidth = core_.ColWidth();
    painter_.Text().SetFonts(drawFont_, EditorFontChoice::AsciiCompanion(drawFont_, colWidth), colWidth, fontHeight_);
    viewport()->update();
}

void TEditor::SyncScrollBarPolicy()
{
    const TScrollStyle s = core_.ScrollBars();
    setVerticalScrollBarPolicy(s == ssVertical || s == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(s == ssHorizontal || s == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TEditor::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    core_.Resized();
}

void TEditor::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        MeasureFont();
        core_.Resized();
    }
}

int TEditor::ClientWidth() const { return viewport()->width(); }
int TEditor::ClientHeight() const { return viewport()->height(); }

// --- painting ------------------------------------------------------------------

void TEditor::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    const int colWidth = core_.ColWidth();
    if (colWidth != painter_.Text().ColWidth())
        painter_.Text().SetFonts(drawFont_, EditorFontChoice::AsciiCompanion(drawFont_, colWidth), colWidth,
                                 fontHeight_);
    const bool caretOn = CaretVisible();
    painter_.Paint(p, event->rect(), viewport()->width(), viewport()->height(), caretOn);

    if (caretOn && blinkOn_ && caretSize_.isValid() && (!preedit_.Active() || preedit_.CursorVisible())) {
        p.setCompositionMode(QPainter::CompositionMode_Difference);
        p.fillRect(CaretRect(), Qt::white);
    }
    // A paint follows every change: the rows left unparsed by it are taken
    // up once the program is idle.
    if (!parseAhead_.isActive())
        parseAhead_.start();
}

void TEditor::InvalidateRows(int firstRow, int lastRow)
{
    const int top = core_.TextAreaTop();
    const int rowHeight = core_.RowHeight();
    const int firstShown = core_.TopRow();
    const int lastShown = firstShown + viewport()->height() / rowHeight + 1;
    const int from = std::max(firstRow, firstShown);
    const int to = std::min(lastRow, lastShown);
    if (from > to)
        return;
    viewport()->update(0, top + (from - firstShown) * rowHeight, viewport()->width(), (to - from + 1) * rowHeight);
}

void TEditor::InvalidateAll() { viewport()->update(); }

void TEditor::ScrollRowsBelow(int firstRow, int deltaRows)
{
    const int rowHeight = core_.RowHeight();
    const int top = core_.TextAreaTop();
    const int y = std::max(top, top + (firstRow - core_.TopRow()) * rowHeight);
    if (y >= viewport()->height())
        return;
    viewport()->scroll(0, deltaRows * rowHeight, QRect(0, y, viewport()->width(), viewport()->height() - y));
    UpdateCaretArea();
}

void TEditor::InvalidateLeftbar(int firstRow, int lastRow)
{
    const int rowHeight = core_.RowHeight();
    const int top = core_.TextAreaTop();
    const int from = std::max(firstRow, core_.TopRow());
    const int to = std::min(lastRow, core_.TopRow() + viewport()->height() / rowHeight + 1);
    if (from > to)
        return;
    viewport()->update(core_.Imagebar().Width(), top + (from - core_.TopRow()) * rowHeight, core_.LeftbarWidth(),
                       (to - from + 1) * rowHeight);
}

void TEditor::ScrollText(int dx, int dy)
{
    const int top = core_.TextAreaTop();
    const QRect below(0, top, viewport()->width(), viewport()->height() - top);
    if (dy != 0)
        viewport()->scroll(0, dy, below);
    if (dx != 0) {
        const int left = core_.TextAreaLeft();
        viewport()->scroll(dx, 0, QRect(left, top, viewport()->width() - left, viewport()->height() - top));
        viewport()->update(0, 0, viewport()->width(), top);
    }
    UpdateCaretArea();
}

void TEditor::RulerCaretMoved(int)
{
    viewport()->update(0, 0, viewport()->width(), core_.TextAreaTop());
}

// --- caret ---------------------------------------------------------------------

void TEditor::UpdateCaretArea(bool underline)
{
    viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
    if (underline && core_.Marks().Underline.Visible()) {
        // The row the caret stands on as drawn, which is the old row while
        // the caret is being moved away from it.
        const int top = core_.TextAreaTop();
        const int rowHeight = core_.RowHeight();
        const int y = top + std::max(0, caretPos_.y() - top) / rowHeight * rowHeight;
        viewport()->update(0, y, viewport()->width(), rowHeight);
    }
}

QRect TEditor::CaretRect() const
{
    const int shift = preedit_.Active() ? preedit_.CursorCell() * core_.ColWidth() : 0;
    return QRect(caretPos_ + QPoint(shift, 0), caretSize_);
}

void TEditor::UpdateComposedRow()
{
    // The caret's row in the core, and the row the caret was last drawn on,
    // which differ while the caret is being moved.
    const int top = core_.TextAreaTop();
    const int rowHeight = core_.RowHeight();
    const int coreY = top + (core_.Row() - core_.TopRow()) * rowHeight;
    const int shownY = top + std::max(0, caretPos_.y() - top) / rowHeight * rowHeight;
    viewport()->update(0, coreY, viewport()->width(), rowHeight);
    if (shownY != coreY)
        viewport()->update(0, shownY, viewport()->width(), rowHeight);
}

void TEditor::CreateCaret(int width, int height)
{
    UpdateCaretArea();
    caretSize_ = QSize(width, height);
    caretShown_ = false;
}

void TEditor::SetCaretPos(int x, int y)
{
    if (caretPos_ == QPoint(x, y))
        return;
    UpdateCaretArea();
    if (preedit_.Active())
        UpdateComposedRow();
    caretPos_ = QPoint(x, y);
    UpdateCaretArea();
    if (preedit_.Active())
        UpdateComposedRow();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void TEditor::ShowCaret()
{
    if (caretShown_)
        return;
    caretShown_ = true;
    UpdateCaretArea();
    RestartBlink();
}

void TEditor::HideCaret()
{
    if (!caretShown_)
        return;
    caretShown_ = false;
    UpdateCaretArea();
}

void TEditor::RestartBlink()
{
    blinkOn_ = true;
    const int period = QGuiApplication::styleHints()->cursorFlashTime();
    if (period > 0 && hasFocus())
        blink_.start(period / 2, this);
    else
        blink_.stop();
    UpdateCaretArea(false);
}

void TEditor::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != blink_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    blinkOn_ = !blinkOn_;
    UpdateCaretArea(false);
}

void TEditor::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    core_.FocusChanged(true);
    RestartBlink();
    viewport()->update();
}

void TEditor::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    core_.FocusChanged(false);
    blink_.stop();
    preedit_.Clear();
    viewport()->update();
}

// --- scroll bars -----------------------------------------------------------------

void TEditor::SetVerticalScrollBar(int max, int page, int position)
{
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, max - page + 1));
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(1);
    bar->setValue(position);
}

void TEditor::SetHorizontalScrollBar(int max, int page, int position)
{
    QScrollBar* bar = horizontalScrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, max - page + 1));
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(1);
    bar->setValue(position);
}

void TEditor::ScrollBarAction(bool vertical, int action)
{
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    TScrollRequest request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        request = TScrollRequest::LineBack;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        request = TScrollRequest::LineForward;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = TScrollRequest::PageBack;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = TScrollRequest::PageForward;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = TScrollRequest::ToStart;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = TScrollRequest::ToEnd;
        break;
    case QAbstractSlider::SliderMove:
        request = TScrollRequest::Thumb;
        break;
    default:
        return;
    }
    core_.ScrollRequest(vertical, request, bar->sliderPosition());
    // The core decides where the view went; the bar follows it.
    bar->setSliderPosition(vertical ? core_.TopRow() : core_.TopCol());
}

// --- keys and the input method ---------------------------------------------------

TShiftState TEditor::ShiftOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    return s;
}

bool TEditor::EncodeInput(const QString& text, std::string& bytes, bool paste)
{
    char32_t bad = 0;
    if (ShiftJisCodec::EncodeUtf8(text.toUtf8().toStdString(), bytes, &bad))
        return true;
    const QString code = QString::number(static_cast<uint>(bad), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    const QString message = (paste ? QStringLiteral("「%1」(U+%2) は Shift-JIS で表せないため貼り付けできません。")
                                   : QStringLiteral("「%1」(U+%2) は Shift-JIS で表せないため入力できません。"))
                                .arg(QString::fromUcs4(&bad, 1), code);
    QApplication::beep();
    QToolTip::showText(viewport()->mapToGlobal(caretPos_ + QPoint(0, fontHeight_)), message, this);
    emit MessageRequested(message);
    return false;
}

bool TEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The built-in menu's shortcuts win over the window's while the control
        // has focus, unless a pop-up menu of its own replaced that menu.
        auto* key = static_cast<QKeyEvent*>(event);
        if (popup_ && !popupMenu_ && popup_->MatchesShortcut(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TEditor::keyPressEvent(QKeyEvent* event)
{
    const TShiftState shift = ShiftOf(event->modifiers());
    if (core_.DragState() != 0) {
        // Escape cancels the drag; Ctrl switches between the move and copy
        // cursors.
        if (event->key() == Qt::Key_Escape)
            core_.CancelDrag();
        UpdateMouseCursor(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers());
        return;
    }
    if (popup_ && !popupMenu_ && popup_->RunShortcut(event))
        return;

    const bool repeat = event->isAutoRepeat();
    auto navigate = [&](TEditorKey key) { core_.KeyDown(key, shift, repeat); };
    switch (event->key()) {
    case Qt::Key_PageUp:
        return navigate(TEditorKey::PageUp);
    case Qt::Key_PageDown:
        return navigate(TEditorKey::PageDown);
    case Qt::Key_Home:
        return navigate(TEditorKey::Home);
    case Qt::Key_End:
        return navigate(TEditorKey::End);
    case Qt::Key_Left:
        return navigate(TEditorKey::Left);
    case Qt::Key_Right:
        return navigate(TEditorKey::Right);
    case Qt::Key_Up:
        return navigate(TEditorKey::Up);
    case Qt::Key_Down:
        return navigate(TEditorKey::Down);
    case Qt::Key_Delete:
        return navigate(TEditorKey::Delete);
    case Qt::Key_Backspace:
        core_.KeyPress("\b", shift);
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!core_.KeyPress("\t", shift))
            event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!core_.KeyPress("\r", shift))
            event->ignore();
        return;
    case Qt::Key_Escape:
        event->ignore();
        return;
    case Qt::Key_Backslash:
    case Qt::Key_yen:
        if (!(shift & (ssCtrl | ssAlt))) {
            // Both backslash keys of Japanese keyboards give the byte 0x5C.
            core_.KeyPress("\\", shift);
            return;
        }
        break;
    default:
        break;
    }

    const QString text = event->text();
    const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        || ((event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::GroupSwitchModifier));
    if (text.isEmpty() || command || text.at(0).category() == QChar::Other_Control) {
        event->ignore();
        return;
    }
    std::string bytes;
    if (EncodeInput(text, bytes))
        core_.KeyPress(bytes, shift);
}

void TEditor::keyReleaseEvent(QKeyEvent* event)
{
    if (core_.DragState() != 0 && event->key() == Qt::Key_Control) {
        UpdateMouseCursor(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers());
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

bool TEditor::focusNextPrevChild(bool next)
{
    // TAB is a character for the text while the control wants it.
    if (core_.WantTabs())
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TEditor::inputMethodEvent(QInputMethodEvent* event)
{
    // The row shown with the old preedit, then the text it committed, then
    // the row shown with the new one (the caret may have moved between).
    if (preedit_.Active())
        UpdateComposedRow();
    UpdateCaretArea();
    const QString commit = event->commitString();
    if (!commit.isEmpty() && !core_.MouseCaptured()) {
        std::string bytes;
        preedit_.Clear();
        if (EncodeInput(commit, bytes))
            core_.ImeResult(bytes, false);
    }
    if (core_.ReadOnly())
        preedit_.Clear();
    else
        preedit_.Set(event->preeditString(), event->attributes());
    if (preedit_.Active())
        UpdateComposedRow();
    UpdateCaretArea();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    event->accept();
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        // Switched off by clearing the attribute, as for any widget.
        return !core_.ReadOnly() && testAttribute(Qt::WA_InputMethodEnabled);
    case Qt::ImCursorRectangle: {
        // At the preedit's cursor, so that the candidate window follows it.
        const QRect caret = CaretRect();
        return QRect(viewport()->mapTo(this, QPoint(caret.x(), caretPos_.y())),
                     QSize(std::max(1, caretSize_.width()), fontHeight_));
    }
    case Qt::ImFont:
        return drawFont_;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- mouse -------------------------------------------------------------------------

void TEditor::UpdateMouseCursor(const QPoint& pos, Qt::KeyboardModifiers modifiers)
{
    if (!core_.Caret().AutoCursor() && core_.DragState() != 2)
        return;
    switch (core_.CursorAt(pos.x(), pos.y(), ShiftOf(modifiers))) {
    case TEditorCursor::Default:
        viewport()->setCursor(cursors_.DefaultCursor);
        break;
    case TEditorCursor::InSel:
        viewport()->setCursor(cursors_.InSelCursor);
        break;
    case TEditorCursor::TopMargin:
        viewport()->setCursor(cursors_.TopMarginCursor);
        break;
    case TEditorCursor::LeftMargin:
        viewport()->setCursor(cursors_.LeftMarginCursor);
        break;
    case TEditorCursor::DragSel:
        viewport()->setCursor(cursors_.DragSelCursor);
        break;
    case TEditorCursor::DragSelCopy:
        viewport()->setCursor(cursors_.DragSelCopyCursor);
        break;
    }
}

void TEditor::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    core_.MouseDown(pos.x(), pos.y(), ShiftOf(event->modifiers()));
}

void TEditor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    core_.MouseMove(pos.x(), pos.y(), (event->buttons() & Qt::LeftButton) != 0);
    UpdateMouseCursor(pos, event->modifiers());
}

void TEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    core_.MouseUp(pos.x(), pos.y(), ShiftOf(event->modifiers()));
    UpdateMouseCursor(pos, event->modifiers());
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Discarded while the button is held or a drag is armed or running.
    if (core_.MouseCaptured())
        return;
    // A double click on a word selects it; anywhere else the second press
    // is a press like the first.
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier)
        && core_.DoubleClick(pos.x(), pos.y())) {
        event->accept();
        return;
    }
    mousePressEvent(event);
}

void TEditor::wheelEvent(QWheelEvent* event)
{
    // Vertical distance only; a sideways turn is left to the parent.
    int units = event->angleDelta().y();
    if (units == 0 && event->angleDelta().x() == 0 && event->pixelDelta().y() != 0) {
        // Only pixels (some touchpads): a step is as high as two rows, the
        // distance one step scrolls the main window.
        units = int(std::clamp<qint64>(qint64(event->pixelDelta().y()) * WheelSteps::kUnitsPerStep / (2 * fontHeight_),
                                       -(1 << 24), 1 << 24));
        if (units == 0)
            units = event->pixelDelta().y() > 0 ? 1 : -1;
    }
    if (units == 0) {
        event->ignore();
        return;
    }
    // A new gesture, or Ctrl pressed or let go, starts a fresh step.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->phase() == Qt::ScrollBegin || modifiers != wheelModifiers_)
        wheelSteps_.Reset();
    wheelModifiers_ = modifiers;
    const int steps = wheelSteps_.Add(units);
    // One notification per whole step, each of one step's distance.
    for (int i = 0; i < std::abs(steps); ++i) {
        bool handled = false;
        emit MouseWheel(modifiers, steps > 0 ? WheelSteps::kUnitsPerStep : -WheelSteps::kUnitsPerStep, &handled);
        if (handled)
            continue;
        for (int line = 0; line < QApplication::wheelScrollLines(); ++line)
            core_.ScrollRequest(true, steps > 0 ? TScrollRequest::LineBack : TScrollRequest::LineForward);
    }
    event->accept();
}

void TEditor::contextMenuEvent(QContextMenuEvent* event)
{
    if (popupMenu_)
        popupMenu_->popup(event->globalPos());
    else if (popup_)
        popup_->Popup(event->globalPos());
}

void TEditor::SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

bool TEditor::TakesKey(QKeyCombination combination) const
{
    const Qt::Key key = combination.key();
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (popup_ && !popupMenu_ && popup_->MatchesShortcut(combination))
        return true;
    const bool plain = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return true;  // with any modifiers
    case Qt::Key_Tab:
        return core_.WantTabs() && modifiers == Qt::NoModifier;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return plain;
    default:
        break;
    }
    // Typed characters: the printable keys without a command modifier.
    return plain && ((key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) || (key >= 0xA0 && key <= 0xFF));
}

// --- clipboard ---------------------------------------------------------------------

void TEditor::SetClipboard(const std::string& text, const std::optional<std::string>& boxBytes)
{
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(ShiftJisCodec::DecodeToPlainUtf8(text)));
    data->setData(QString::fromLatin1(kBytesMimeType), QByteArray::fromStdString(text));
    if (boxBytes)
        data->setData(QString::fromLatin1(kBoxMimeType), QByteArray::fromStdString(*boxBytes));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::string> TEditor::ClipboardText() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return std::nullopt;
    if (data->hasFormat(QString::fromLatin1(kBytesMimeType)))
        return data->data(QString::fromLatin1(kBytesMimeType)).toStdString();
    if (!data->hasText())
        return std::nullopt;
    std::string bytes;
    if (!const_cast<TEditor*>(this)->EncodeInput(data->text(), bytes, true))
        return std::nullopt;
    return bytes;
}

bool TEditor::ClipboardHasBoxFormat() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromLatin1(kBoxMimeType));
}
