#include <QAccessible>
#include <QAccessibleEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/TEditor.h"
#include "editor/TEditorAccessible.h"

namespace {

// "a表b" CR LF "漢c": UTF-16 offsets a0 表1 b2 CR3 LF4 漢5 c6, end 7.
const char* const kTwoLines = "a\x95\x5c"
                              "b\r\n\x8a\xbf"
                              "c";

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

struct AccessibleEditor {
    TEditor editor;
    QAccessibleInterface* iface = nullptr;
    QAccessibleTextInterface* text = nullptr;
    QAccessibleEditableTextInterface* editable = nullptr;

    explicit AccessibleEditor(const char* bytes)
    {
        editor.resize(400, 300);
        editor.Lines().SetTextStr(bytes);
        editor.show();
        editor.activateWindow();
        editor.setFocus();
        QApplication::processEvents();
        iface = QAccessible::queryAccessibleInterface(&editor);
        if (iface) {
            text = iface->textInterface();
            editable = iface->editableTextInterface();
        }
    }
    TEditorCore& Core() { return editor.Core(); }
    std::string Bytes() { return editor.Lines().GetTextStr(); }
};

TEST(TEditorAccessible, ShowsTheDocumentAsAnEditableMultiLineUnicodeText)
{
    // A trail byte 0x5C that is no backslash, a real backslash, half-width
    // katakana, a TAB, a lone lead byte before the line break.
    AccessibleEditor e("\x95\x5c\\\xb1\t\x81\r\n\x8a\xbf");
    ASSERT_TRUE(e.iface);
    ASSERT_TRUE(e.text);
    ASSERT_TRUE(e.editable);
    EXPECT_EQ(e.iface->role(), QAccessible::EditableText);
    EXPECT_EQ(e.text->text(0, -1), U("表\\ｱ\t\uFFFD\r\n漢"));
    EXPECT_EQ(e.text->characterCount(), 8);
    EXPECT_EQ(e.text->text(7, 8), U("漢"));
    EXPECT_EQ(e.iface->text(QAccessible::Value), e.text->text(0, -1));

    QAccessible::State s = e.iface->state();
    EXPECT_TRUE(s.multiLine);
    EXPECT_TRUE(s.editable);
    EXPECT_TRUE(s.focusable);
    EXPECT_TRUE(s.focused);
    e.Core().SetReadOnly(true);
    s = e.iface->state();
    EXPECT_FALSE(s.editable);
    EXPECT_TRUE(s.readOnly);
}

TEST(TEditorAccessible, TheTextMapPairsEveryByteOffsetWithItsUtf16Offset)
{
    // Long enough for many marks; single bytes, kanji whose trail byte is
    // '\\' or '@', line breaks and a lone lead byte, in an uneven rhythm.
    std::string bytes;
    std::vector<int> utf16OfByte; // expected, for every byte offset
    std::vector<int> byteOfUtf16; // expected, for every UTF-16 offset
    // Pieces as their characters; the lone lead byte only before a CR.
    const std::vector<std::vector<std::string>> pieces = {
        {"a"}, {"\x95\x5c"}, {"\r", "\n"}, {"\x81\x40"}, {"\x81", "\r", "\n"}, {"z"}, {"\t"}};
    for (int i = 0; i < 700; ++i) {
        for (const std::string& ch : pieces[static_cast<std::size_t>(i * 7 % 11 % pieces.size())]) {
            const int u = static_cast<int>(byteOfUtf16.size());
            byteOfUtf16.push_back(static_cast<int>(bytes.size()));
            utf16OfByte.insert(utf16OfByte.end(), ch.size(), u);
            bytes += ch;
        }
    }
    utf16OfByte.push_back(static_cast<int>(byteOfUtf16.size()));
    byteOfUtf16.push_back(static_cast<int>(bytes.size()));

    const TEditorAccessible::TextMap map(bytes);
    ASSERT_EQ(map.Utf16Count() + 1, static_cast<int>(byteOfUtf16.size()));
    EXPECT_EQ(map.ByteCount(), static_cast<int>(bytes.size()));
    for (int b = 0; b <= map.ByteCount(); ++b)
        ASSERT_EQ(map.ToUtf16(b), utf16OfByte[static_cast<std::size_t>(b)]) << "byte " << b;
    for (int u = 0; u <= map.Utf16Count(); ++u)
        ASSERT_EQ(map.ToByte(u), byteOfUtf16[static_cast<std::size_t>(u)]) << "utf16 " << u;
    EXPECT_EQ(map.ToUtf16(-3), 0);
    EXPECT_EQ(map.ToUtf16(map.ByteCount() + 1), map.Utf16Count());
    EXPECT_EQ(map.ToByte(map.Utf16Count() + 5), map.ByteCount());
}

TEST(TEditorAccessible, TheMapFollowsEveryChangeOfTheText)
{
    AccessibleEditor e(kTwoLines);
    ASSERT_TRUE(e.text);
    EXPECT_EQ(e.text->characterCount(), 7);
    // Typed, set whole, undone: each is seen by the next query.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, U("字"));
    QApplication::sendEvent(&e.editor, &typed);
    EXPECT_EQ(e.text->characterCount(), 8);
    EXPECT_EQ(e.text->text(0, 1), U("字"));
    e.Core().Undo();
    EXPECT_EQ(e.text->text(0, -1), U("a表b\r\n漢c"));
    e.editor.Lines().SetTextStr("x\r\n\r\ny");
    EXPECT_EQ(e.text->text(0, -1), U("x\r\n\r\ny"));
}

TEST(TEditorAccessible, CaretAndSelectionOffsetsLandOnTheRightBytes)
{
    AccessibleEditor e(kTwoLines);
    ASSERT_TRUE(e.text);
    // After 表: column 3 of row 0 (a takes one cell, 表 two).
    e.text->setCursorPosition(2);
    EXPECT_EQ(e.Core().Row(), 0);
    EXPECT_EQ(e.Core().Col(), 3);
    EXPECT_EQ(e.text->cursorPosition(), 2);
    // After 漢, past the line break.
    e.text->setCursorPosition(6);
    EXPECT_EQ(e.Core().Row(), 1);
    EXPECT_EQ(e.Core().Col(), 2);
    EXPECT_EQ(e.text->cursorPosition(), 6);
    // Between CR and LF is the end of the line.
    e.text->setCursorPosition(4);
    EXPECT_EQ(e.Core().Row(), 0);
    EXPECT_EQ(e.Core().Col(), 4);
    EXPECT_EQ(e.text->cursorPosition(), 3);
    // The caret moved by the core reads back in UTF-16.
    e.Core().SetRowCol(1, 3);
    EXPECT_EQ(e.text->cursorPosition(), 7);

    e.text->setSelection(0, 5, 6);
    EXPECT_EQ(e.Core().SelText(), "\x8a\xbf");
    ASSERT_EQ(e.text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    e.text->selection(0, &start, &end);
    EXPECT_EQ(start, 5);
    EXPECT_EQ(end, 6);
    // Backwards and across the line break.
    e.text->setSelection(0, 6, 1);
    EXPECT_EQ(e.Core().SelText(), "\x95\x5c"
                                  "b\r\n\x8a\xbf");
    e.text->selection(0, &start, &end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 6);
    e.text->removeSelection(0);
    EXPECT_EQ(e.text->selectionCount(), 0);
}

TEST(TEditorAccessible, OffsetsHoldAcrossWrappedRows)
{
    // "漢字表漢a" wrapped four bytes to a row: no bytes lie between its rows.
    // UTF-16: 漢0 字1 表2 漢3 a4 CR5 LF6 z7.
    AccessibleEditor e("\x8a\xbf\x8e\x9a\x95\x5c\x8a\xbf"
                       "a\r\nz");
    ASSERT_TRUE(e.text);
    e.Core().WrapOption().SetWrapByte(4);
    e.Core().SetWordWrap(true);
    ASSERT_EQ(e.Core().RowCount(), 4);
    EXPECT_EQ(e.text->text(0, -1), U("漢字表漢a\r\nz"));
    e.text->setCursorPosition(3);
    EXPECT_EQ(e.Core().Row(), 1);
    EXPECT_EQ(e.Core().Col(), 2);
    EXPECT_EQ(e.text->cursorPosition(), 3);
    e.text->setCursorPosition(4);
    EXPECT_EQ(e.Core().Row(), 2);
    EXPECT_EQ(e.Core().Col(), 0);
    e.text->setCursorPosition(7);
    EXPECT_EQ(e.Core().Row(), 3);
    EXPECT_EQ(e.Core().Col(), 0);
    EXPECT_EQ(e.text->cursorPosition(), 7);
    e.text->setSelection(0, 1, 3);
    EXPECT_EQ(e.Core().SelText(), "\x8e\x9a\x95\x5c");
    // A logical line spans its rows.
    int start = -1;
    int end = -1;
    EXPECT_EQ(e.text->textAtOffset(3, QAccessible::LineBoundary, &start, &end), U("漢字表漢a\r\n"));
    for (int i : {0, 1, 2, 3, 4, 7}) {
        const QRect r = e.text->characterRect(i);
        EXPECT_EQ(e.text->offsetAtPoint(r.center()), i) << i;
    }
    EXPECT_EQ(e.text->characterRect(2).top(), e.text->characterRect(1).top() + e.Core().RowHeight());
    // The last character of a wrapped row is as wide as its cells.
    EXPECT_EQ(e.text->characterRect(1).width(), 2 * e.Core().ColWidth());
}

TEST(TEditorAccessible, CharacterRectsAndPointsAgree)
{
    AccessibleEditor e(kTwoLines);
    ASSERT_TRUE(e.text);
    const int colWidth = e.Core().ColWidth();
    const QRect a = e.text->characterRect(0);
    const QRect kanji = e.text->characterRect(1);
    EXPECT_EQ(a.width(), colWidth);
    EXPECT_EQ(kanji.width(), 2 * colWidth);
    EXPECT_EQ(kanji.left(), a.right() + 1);
    EXPECT_EQ(kanji.height(), e.Core().RowHeight());
    EXPECT_EQ(e.text->characterRect(5).top(), a.top() + e.Core().RowHeight());
    // Screen coordinates: the viewport's origin, not the widget's.
    const QPoint origin = e.editor.viewport()->mapToGlobal(QPoint(e.Core().TextAreaLeft(), e.Core().TextAreaTop()));
    EXPECT_EQ(a.topLeft(), origin);

    for (int i : {0, 1, 2, 3, 5, 6}) {
        const QRect r = e.text->characterRect(i);
        EXPECT_EQ(e.text->offsetAtPoint(r.center()), i) << i;
    }
    EXPECT_EQ(e.text->offsetAtPoint(e.editor.viewport()->mapToGlobal(QPoint(-5, -5))), -1);

    // Scrolled down a row, the second line takes the first one's place.
    std::string lines = "1";
    for (int n = 2; n <= 30; ++n)
        lines += "\r\n" + std::to_string(n);
    AccessibleEditor tall(lines.c_str());
    ASSERT_TRUE(tall.text);
    const QRect first = tall.text->characterRect(0);
    tall.Core().SetTopRow(1);
    EXPECT_EQ(tall.text->characterRect(3), first);
    EXPECT_EQ(tall.text->offsetAtPoint(first.center()), 3);
    // scrollToSubstring brings a far line into view with the caret on it.
    const int far = static_cast<int>(tall.text->text(0, -1).indexOf(QLatin1String("27")));
    tall.text->scrollToSubstring(far, far + 2);
    EXPECT_EQ(tall.Core().Row(), 26);
    EXPECT_EQ(tall.text->cursorPosition(), far);
    EXPECT_LE(tall.Core().TopRow(), 26);
    EXPECT_GT(tall.Core().TopRow() + tall.Core().VisibleRows(), 26);
}

TEST(TEditorAccessible, TextAroundAnOffsetByCharacterWordAndLine)
{
    AccessibleEditor e("ab cd\r\n\x95\x5c\r\nlast");
    ASSERT_TRUE(e.text);
    // "ab cd" CR LF 表 CR LF "last": 表 is 7, the second line break 8-9.
    int start = -1;
    int end = -1;
    EXPECT_EQ(e.text->textAtOffset(7, QAccessible::CharBoundary, &start, &end), U("表"));
    EXPECT_EQ(start, 7);
    EXPECT_EQ(end, 8);
    EXPECT_EQ(e.text->textAtOffset(5, QAccessible::CharBoundary, &start, &end), U("\r\n"));
    EXPECT_EQ(e.text->textAfterOffset(5, QAccessible::CharBoundary, &start, &end), U("表"));
    EXPECT_EQ(e.text->textBeforeOffset(7, QAccessible::CharBoundary, &start, &end), U("\r\n"));

    EXPECT_EQ(e.text->textAtOffset(1, QAccessible::WordBoundary, &start, &end), U("ab"));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 2);
    EXPECT_EQ(e.text->textAtOffset(4, QAccessible::WordBoundary, &start, &end), U("cd"));

    EXPECT_EQ(e.text->textAtOffset(8, QAccessible::LineBoundary, &start, &end), U("表\r\n"));
    EXPECT_EQ(start, 7);
    EXPECT_EQ(end, 10);
    EXPECT_EQ(e.text->textBeforeOffset(8, QAccessible::LineBoundary, &start, &end), U("ab cd\r\n"));
    EXPECT_EQ(e.text->textAfterOffset(8, QAccessible::LineBoundary, &start, &end), U("last"));
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 14);
    // Nothing after the last line, nothing before the first.
    EXPECT_EQ(e.text->textAfterOffset(12, QAccessible::LineBoundary, &start, &end), QString());
    EXPECT_EQ(e.text->textBeforeOffset(2, QAccessible::LineBoundary, &start, &end), QString());
    // -1 is the end of the text.
    EXPECT_EQ(e.text->textAtOffset(-1, QAccessible::LineBoundary, &start, &end), U("last"));
}

TEST(TEditorAccessible, EditsAreUndoableStepsAndObeyReadOnly)
{
    AccessibleEditor e(kTwoLines);
    ASSERT_TRUE(e.editable);
    e.editable->insertText(2, U("字"));
    EXPECT_EQ(e.Bytes(), "a\x95\x5c\x8e\x9a"
                         "b\r\n\x8a\xbf"
                         "c");
    e.Core().Undo();
    EXPECT_EQ(e.Bytes(), kTwoLines);

    // A lone LF becomes the document's CR LF.
    e.editable->replaceText(5, 6, U("x\ny"));
    EXPECT_EQ(e.Bytes(), "a\x95\x5c"
                         "b\r\nx\r\nyc");
    e.Core().Undo();
    EXPECT_EQ(e.Bytes(), kTwoLines);

    e.editable->deleteText(1, 5);
    EXPECT_EQ(e.Bytes(), "a\x8a\xbf"
                         "c");
    e.Core().Undo();
    EXPECT_EQ(e.Bytes(), kTwoLines);

    // What the code page cannot hold is refused whole.
    e.editable->insertText(0, U("x😀"));
    EXPECT_EQ(e.Bytes(), kTwoLines);

    e.Core().SetReadOnly(true);
    e.editable->insertText(0, U("x"));
    e.editable->deleteText(0, 3);
    e.editable->replaceText(0, 1, U("y"));
    EXPECT_EQ(e.Bytes(), kTwoLines);
}

// --- notifications -----------------------------------------------------------

struct SeenEvent {
    QAccessible::Event Type;
    int Position = -1;
    QString Removed;
    QString Inserted;
};
std::vector<SeenEvent> g_seen;
QObject* g_watched = nullptr;

void Record(QAccessibleEvent* event)
{
    if (event->object() != g_watched)
        return;
    SeenEvent seen{event->type(), -1, {}, {}};
    if (event->type() == QAccessible::TextUpdated) {
        auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
        seen.Position = update->changePosition();
        seen.Removed = update->textRemoved();
        seen.Inserted = update->textInserted();
    } else if (event->type() == QAccessible::TextCaretMoved
               || event->type() == QAccessible::TextSelectionChanged) {
        seen.Position = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
    }
    g_seen.push_back(seen);
}

// Records what the editor reports, for the length of a test. (Offscreen
// there is no platform accessibility, so QAccessible::isActive stays false
// and QAccessible::updateAccessibility would drop everything.)
struct Listening {
    explicit Listening(QObject* watched)
    {
        g_seen.clear();
        g_watched = watched;
        TEditorAccessible::SetEventSink(Record);
    }
    ~Listening()
    {
        TEditorAccessible::SetEventSink(nullptr);
        g_watched = nullptr;
    }
    const SeenEvent* Last(QAccessible::Event type) const
    {
        for (auto it = g_seen.rbegin(); it != g_seen.rend(); ++it)
            if (it->Type == type)
                return &*it;
        return nullptr;
    }
};

TEST(TEditorAccessible, ReportsChangesAndCaretMovesInUtf16Offsets)
{
    AccessibleEditor e(kTwoLines);
    ASSERT_TRUE(e.text);
    Listening listen(&e.editor);
    EXPECT_EQ(e.text->characterCount(), 7);

    e.Core().SetRowCol(1, 2);
    const SeenEvent* moved = listen.Last(QAccessible::TextCaretMoved);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->Position, 6);

    g_seen.clear();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, U("字"));
    QApplication::sendEvent(&e.editor, &typed);
    const SeenEvent* update = listen.Last(QAccessible::TextUpdated);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->Position, 6);
    EXPECT_EQ(update->Removed, QString());
    EXPECT_EQ(update->Inserted, U("字"));
    moved = listen.Last(QAccessible::TextCaretMoved);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->Position, 7);

    g_seen.clear();
    e.text->setSelection(0, 1, 2);
    const SeenEvent* selected = listen.Last(QAccessible::TextSelectionChanged);
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->Position, 2);

    // Replacing the whole text emits no Changed; it is reported all the same.
    g_seen.clear();
    e.editor.Lines().SetTextStr("a\x95\x5c");
    update = listen.Last(QAccessible::TextUpdated);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->Position, 2);
    EXPECT_EQ(update->Removed, U("b\r\n漢字c"));
    EXPECT_EQ(update->Inserted, QString());
    moved = listen.Last(QAccessible::TextCaretMoved);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->Position, 0);
}

}
