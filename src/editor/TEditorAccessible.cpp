#include "editor/TEditorAccessible.h"

#include <QAccessibleEvent>
#include <QTextBoundaryFinder>

#include <algorithm>

#include "editor/TEditor.h"
#include "editor/core/CellMap.h"
#include "editor/core/EditControlMessages.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/ShiftJisCodec.h"

namespace {

// Bytes between two marks of the text map, at least.
constexpr int kStride = 64;

TEditorAccessible::EventSink g_sink = nullptr;


QAccessibleInterface* CreateForEditor(const QString& className, QObject* object)
{
    if (className != QLatin1String("TEditor") || !object || !object->isWidgetType())
        return nullptr;
    if (auto* editor = qobject_cast<TEditor*>(object))
        return new TEditorAccessible(editor);
    return nullptr;
}

// Text handed in by an assistive tool, with its line breaks made CR LF as
// the document keeps them.
QString WithCrLf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

}

// --- the text map --------------------------------------------------------------

TEditorAccessible::TextMap::TextMap(std::string bytes) : bytes_(std::move(bytes))
{
    const std::string utf8 = ShiftJisCodec::DecodeToPlainUtf8(bytes_);
    text_ = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    marks_.reserve(bytes_.size() / kStride + 1);
    marks_.push_back({});
    // One code point per character: the walk over the bytes and the walk over
    // the code units end together.
    Mark at;
    while (at.Byte < ByteCount() && at.Utf16 < Utf16Count()) {
        at.Byte += CharLength(bytes_, static_cast<std::size_t>(at.Byte));
        at.Utf16 += CodeUnitsAt(at.Utf16);
        if (at.Byte - marks_.back().Byte >= kStride)
            marks_.push_back(at);
    }
    Q_ASSERT(at.Byte == ByteCount() && at.Utf16 == Utf16Count());
}

int TEditorAccessible::TextMap::CodeUnitsAt(int utf16Offset) const
{
    const qsizetype i = utf16Offset;
    return i + 1 < text_.size() && text_[i].isHighSurrogate() && text_[i + 1].isLowSurrogate() ? 2 : 1;
}

TEditorAccessible::TextMap::Mark TEditorAccessible::TextMap::WalkFrom(Mark from, int limit, bool byBytes) const
{
    Mark at = from;
    while (at.Byte < ByteCount() && at.Utf16 < Utf16Count()) {
        const Mark next{at.Byte + CharLength(bytes_, static_cast<std::size_t>(at.Byte)),
                        at.Utf16 + CodeUnitsAt(at.Utf16)};
        if ((byBytes ? next.Byte : next.Utf16) > limit)
            break;
        at = next;
    }
    return at;
}

int TEditorAccessible::TextMap::ToUtf16(int byteOffset) const
{
    const int b = std::clamp(byteOffset, 0, ByteCount());
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), b,
                                        [](int value, const Mark& m) { return value < m.Byte; });
    return WalkFrom(*std::prev(after), b, true).Utf16;
}

int TEditorAccessible::TextMap::ToByte(int utf16Offset) const
{
    const int u = std::clamp(utf16Offset, 0, Utf16Count());
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), u,
                                        [](int value, const Mark& m) { return value < m.Utf16; });
    return WalkFrom(*std::prev(after), u, false).Byte;
}

// --- the interface -------------------------------------------------------------

TEditorAccessible::TEditorAccessible(TEditor* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText),
      stale_(std::make_shared<bool>(false))
{
    // Every change of the text ends an update of the row store, whose
    // OnChange then tells the editors. The map is marked stale before that,
    // so whatever the editors' notifications ask sees the new text. The hook
    // holds the flag weakly: it outlives this interface harmlessly, and this
    // interface never has to touch the store again (the store dies with the
    // editor, before Qt drops the interface).
    TEditorScreenStrings& store = editor->Core().Store();
    store.OnChange = [next = std::move(store.OnChange), stale = std::weak_ptr<bool>(stale_)] {
        if (const std::shared_ptr<bool> flag = stale.lock())
            *flag = true;
        if (next)
            next();
    };
    // The interface may be dropped before the editor: hence the explicit
    // disconnection in the destructor.
    connections_.push_back(QObject::connect(editor, &TEditor::Changed, editor, [this] { ReportTextChange(); }));
    connections_.push_back(QObject::connect(editor, &TEditor::CaretMoved, editor, [this] {
        // A whole-text replacement emits no Changed, only the caret's move
        // to the start.
        ReportTextChange();
        ReportCaret();
    }));
    connections_.push_back(
        QObject::connect(editor, &TEditor::SelectionChanged, editor, [this](bool) { ReportCaret(); }));
}

TEditorAccessible::~TEditorAccessible()
{
    for (const QMetaObject::Connection& c : connections_)
        QObject::disconnect(c);
}

void TEditorAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(CreateForEditor);
        return true;
    }();
    (void)installed;
}

TEditor* TEditorAccessible::Editor() const { return static_cast<TEditor*>(object()); }

void TEditorAccessible::SetEventSink(EventSink sink) { g_sink = sink; }

const TEditorAccessible::TextMap& TEditorAccessible::Map() const
{
    if (!map_ || *stale_) {
        *stale_ = false;
        map_.emplace(Editor()->Lines().GetTextStr());
    }
    return *map_;
}

EditControlMessages TEditorAccessible::Messages() const { return EditControlMessages(Editor()->Core()); }

// --- QAccessibleInterface ------------------------------------------------------

QAccessible::State TEditorAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const bool readOnly = Editor()->Core().ReadOnly();
    s.multiLine = true;
    s.editable = !readOnly;
    s.readOnly = readOnly;
    s.selectableText = true;
    s.focusable = true;
    return s;
}

QString TEditorAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return Map().Text();
    return QAccessibleWidget::text(t);
}

void* TEditorAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* TEditorAccessible::childAt(int x, int y) const
{
    // The viewport shows the text this interface already serves: a point
    // over it is the editor itself, not an empty child.
    const QWidget* viewport = Editor()->viewport();
    if (QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size()).contains(x, y))
        return nullptr;
    return QAccessibleWidget::childAt(x, y);
}

// --- caret and selection -------------------------------------------------------

int TEditorAccessible::CaretByte() const
{
    const TEditorCore& core = Editor()->Core();
    const int row = core.Row();
    const int rowStart = Messages().LineIndex(row);
    if (rowStart < 0)
        return Map().ByteCount(); // the row after a final line break
    const std::string cells = core.BuildMap(row);
    return rowStart + CharIndexFromColumn(cells, core.Store().RowLength(row), core.Col());
}

std::pair<int, int> TEditorAccessible::ByteRange(int startOffset, int endOffset) const
{
    const TextMap& map = Map();
    const int a = map.ToByte(startOffset);
    const int b = map.ToByte(endOffset);
    return {std::min(a, b), std::max(a, b)};
}

int TEditorAccessible::cursorPosition() const { return Map().ToUtf16(CaretByte()); }

void TEditorAccessible::setCursorPosition(int position)
{
    const int byte = Map().ToByte(position);
    Messages().SetSelection(byte, byte);
}

int TEditorAccessible::selectionCount() const { return Editor()->Core().Selected() ? 1 : 0; }

void TEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0)
        return;
    const EditControlMessages::Selection s = Messages().GetSelection();
    *startOffset = Map().ToUtf16(s.Start);
    *endOffset = Map().ToUtf16(s.End);
}

void TEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const auto [from, to] = ByteRange(startOffset, endOffset);
    Messages().SetSelection(from, to);
}

void TEditorAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TEditorAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        Editor()->Core().ClearSelection();
}

// --- text ----------------------------------------------------------------------

int TEditorAccessible::characterCount() const { return Map().Utf16Count(); }

QString TEditorAccessible::text(int startOffset, int endOffset) const
{
    const QString& all = Map().Text();
    const qsizetype n = all.size();
    const qsizetype from = std::clamp<qsizetype>(startOffset, 0, n);
    const qsizetype to = endOffset < 0 ? n : std::clamp<qsizetype>(endOffset, 0, n);
    return from < to ? all.mid(from, to - from) : QString();
}

TEditorAccessible::Span TEditorAccessible::LineAt(int offset) const
{
    // Rows never hold CR or LF bytes, so every LF of the text ends a CR LF.
    const QString& all = Map().Text();
    const int n = static_cast<int>(all.size());
    const int o = std::clamp(offset, 0, n);
    Span line;
    line.Start = o > 0 ? static_cast<int>(all.lastIndexOf(QLatin1Char('\n'), o - 1)) + 1 : 0;
    const qsizetype lf = all.indexOf(QLatin1Char('\n'), o);
    line.End = lf < 0 ? n : static_cast<int>(lf) + 1;
    return line;
}

TEditorAccessible::Span TEditorAccessible::PieceAt(int offset, QAccessible::TextBoundaryType boundaryType) const
{
    const QString& all = Map().Text();
    const int n = static_cast<int>(all.size());
    QTextBoundaryFinder::BoundaryType kind;
    switch (boundaryType) {
    case QAccessible::NoBoundary:
        return {0, n};
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        return LineAt(offset);
    case QAccessible::WordBoundary:
        kind = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        kind = QTextBoundaryFinder::Sentence;
        break;
    case QAccessible::CharBoundary:
    default:
        kind = QTextBoundaryFinder::Grapheme;
        break;
    }
    if (offset >= n)
        return {n, n};
    // Pieces never cross a line break, so the finder needs only the line.
    const Span line = LineAt(offset);
    QTextBoundaryFinder finder(kind, all.constData() + line.Start, line.End - line.Start);
    finder.setPosition(offset - line.Start);
    if (!finder.isAtBoundary())
        finder.toPreviousBoundary();
    const int start = static_cast<int>(finder.position());
    const qsizetype end = finder.toNextBoundary();
    return {line.Start + start, end < 0 ? line.End : line.Start + static_cast<int>(end)};
}

QString TEditorAccessible::Cut(Span span, int* startOffset, int* endOffset) const
{
    *startOffset = span.Start;
    *endOffset = span.End;
    if (span.Start < 0 || span.End <= span.Start)
        return QString();
    return Map().Text().mid(span.Start, span.End - span.Start);
}

namespace {

// -1 stands for the end of the text and -2 for the caret; false for an
// offset outside the text.
bool ResolveOffset(int& offset, int count, int caret)
{
    if (offset == -1)
        offset = count;
    else if (offset == -2)
        offset = caret;
    return offset >= 0 && offset <= count;
}

}

QString TEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                        int* endOffset) const
{
    if (!ResolveOffset(offset, characterCount(), offset == -2 ? cursorPosition() : 0))
        return Cut({}, startOffset, endOffset);
    return Cut(PieceAt(offset, boundaryType), startOffset, endOffset);
}

QString TEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const
{
    if (!ResolveOffset(offset, characterCount(), offset == -2 ? cursorPosition() : 0)
        || boundaryType == QAccessible::NoBoundary)
        return Cut({}, startOffset, endOffset);
    const Span at = PieceAt(offset, boundaryType);
    if (at.Start <= 0)
        return Cut({}, startOffset, endOffset);
    return Cut(PieceAt(at.Start - 1, boundaryType), startOffset, endOffset);
}

QString TEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                           int* endOffset) const
{
    const int n = characterCount();
    if (!ResolveOffset(offset, n, offset == -2 ? cursorPosition() : 0) || boundaryType == QAccessible::NoBoundary)
        return Cut({}, startOffset, endOffset);
    const Span at = PieceAt(offset, boundaryType);
    if (at.End >= n)
        return Cut({}, startOffset, endOffset);
    return Cut(PieceAt(at.End, boundaryType), startOffset, endOffset);
}

QString TEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}

// --- geometry ------------------------------------------------------------------

QRect TEditorAccessible::characterRect(int offset) const
{
    const TextMap& map = Map();
    if (offset < 0 || offset > map.Utf16Count())
        return QRect();
    const TEditorCore& core = Editor()->Core();
    const EditControlMessages messages = Messages();
    const int byte = map.ToByte(offset);
    const int bytes = CharLength(map.Bytes(), static_cast<std::size_t>(byte));
    const EditControlMessages::Position at = messages.PositionFromChar(byte);
    // As wide as the cells up to the next character on the same row (a TAB
    // spans several); a character that ends its row gets one cell a byte.
    int width = std::max(1, bytes) * core.ColWidth();
    if (bytes > 0) {
        const EditControlMessages::Position next = messages.PositionFromChar(byte + bytes);
        if (next.Y == at.Y && next.X > at.X)
            width = next.X - at.X;
    }
    const QPoint topLeft = Editor()->viewport()->mapToGlobal(QPoint(at.X, at.Y));
    return QRect(topLeft, QSize(width, core.RowHeight()));
}

int TEditorAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = Editor()->viewport()->mapFromGlobal(point);
    const int byte = Messages().CharFromPosition(local.x(), local.y());
    return byte < 0 ? -1 : Map().ToUtf16(byte);
}

void TEditorAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    // The end first, then the start: as much of the piece as fits comes
    // into view, its start surely.
    setCursorPosition(endIndex);
    setCursorPosition(startIndex);
    Messages().ScrollCaret();
}

// --- editing -------------------------------------------------------------------

void TEditorAccessible::Replace(int startOffset, int endOffset, const QString& text)
{
    TEditorCore& core = Editor()->Core();
    if (core.ReadOnly())
        return;
    const QByteArray utf8 = WithCrLf(text).toUtf8();
    std::string bytes;
    if (!ShiftJisCodec::EncodeUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), bytes))
        return;
    const auto [from, to] = ByteRange(startOffset, endOffset);
    if (from == to && bytes.empty())
        return;
    // Offsets are a stream of text: a box selection would take columns.
    const bool box = core.BoxMode();
    if (box)
        core.SetBoxMode(false);
    EditControlMessages messages = Messages();
    messages.SetSelection(from, to);
    messages.ReplaceSelection(bytes);
    if (box)
        core.SetBoxMode(true);
}

void TEditorAccessible::deleteText(int startOffset, int endOffset) { Replace(startOffset, endOffset, QString()); }

void TEditorAccessible::insertText(int offset, const QString& text) { Replace(offset, offset, text); }

void TEditorAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    Replace(startOffset, endOffset, text);
}

// --- notifications -------------------------------------------------------------

bool TEditorAccessible::Listening() { return g_sink || QAccessible::isActive(); }

void TEditorAccessible::Send(QAccessibleEvent& event)
{
    if (g_sink)
        g_sink(&event);
    else
        QAccessible::updateAccessibility(&event);
}

void TEditorAccessible::ReportTextChange()
{
    // Nothing read yet, nothing changed since, or nobody listening: the next
    // query builds the map afresh.
    if (!map_ || !*stale_ || !Listening())
        return;
    const QString before = map_->Text();
    const QString& after = Map().Text();
    // What changed, as the part between the common head and tail.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (head + tail == before.size() && head + tail == after.size())
        return;
    QAccessibleTextUpdateEvent event(Editor(), static_cast<int>(head), before.mid(head, before.size() - head - tail),
                                     after.mid(head, after.size() - head - tail));
    Send(event);
}

void TEditorAccessible::ReportCaret()
{
    if (!Listening())
        return;
    const int cursor = cursorPosition();
    if (selectionCount() > 0) {
        int start = 0;
        int end = 0;
        selection(0, &start, &end);
        QAccessibleTextSelectionEvent event(Editor(), start, end);
        event.setCursorPosition(cursor);
        Send(event);
    } else {
        QAccessibleTextCursorEvent event(Editor(), cursor);
        Send(event);
    }
}
