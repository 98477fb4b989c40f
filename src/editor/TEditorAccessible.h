#pragma once
#include <QAccessibleWidget>
#include <QMetaObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class EditControlMessages;
class TEditor;

// What screen readers and UI automation see of the editor control: an
// editable multi-line text with a caret and a selection.
//
// Qt counts text in UTF-16 code units of a QString; the document is
// Shift-JIS bytes with CR LF line breaks, and the edit-control messages count
// byte offsets in it. TextMap is the one place where the two meet. It is
// built on first use and kept until the row store ends its next update: that
// covers edits, undo and whole-text replacements (SetTextStr, loading), the
// last of which do not emit TEditor::Changed.
class TEditorAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    // The whole text as Qt sees it: decoded for display, one code point per
    // Shift-JIS character, control bytes (CR, LF, TAB, ...) kept, and the
    // byte offset of every character start against its UTF-16 offset.
    class TextMap {
    public:
        explicit TextMap(std::string bytes);

        const QString& Text() const { return text_; }
        const std::string& Bytes() const { return bytes_; }
        int ByteCount() const { return static_cast<int>(bytes_.size()); }
        int Utf16Count() const { return static_cast<int>(text_.size()); }
        // Clamped to the text; an offset inside a double-byte character (or
        // a surrogate pair) stands for that character's start.
        int ToUtf16(int byteOffset) const;
        int ToByte(int utf16Offset) const;

    private:
        // A character start: its byte offset and its UTF-16 offset.
        struct Mark {
            int Byte = 0;
            int Utf16 = 0;
        };
        // Walks forward one character at a time from `from`, while the
        // next character start still lies at or before `limit` of the
        // chosen count.
        Mark WalkFrom(Mark from, int limit, bool byBytes) const;
        int CodeUnitsAt(int utf16Offset) const;

        std::string bytes_;
        QString text_;
        // A character start at least every kStride bytes, for a short walk
        // from the one before any offset.
        std::vector<Mark> marks_;
    };

    explicit TEditorAccessible(TEditor* editor);
    ~TEditorAccessible() override;

    // Registers the factory that gives every TEditor this interface. Safe to
    // call more than once.
    static void Install();

    // Where change and caret notifications go. Without a sink they go to
    // QAccessible::updateAccessibility, and only while an assistive tool
    // listens (QAccessible::isActive); tests set one to see them.
    using EventSink = void (*)(QAccessibleEvent* event);
    static void SetEventSink(EventSink sink);

    TEditor* Editor() const;
    // The text map, built now when the text changed since the last one.
    const TextMap& Map() const;

    // --- QAccessibleInterface --------------------------------------------
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // --- QAccessibleTextInterface ----------------------------------------
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // --- QAccessibleEditableTextInterface --------------------------------
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    // A range of UTF-16 offsets, end exclusive.
    struct Span {
        int Start = -1;
        int End = -1;
    };

    EditControlMessages Messages() const;
    // The caret as a byte offset in the whole text.
    int CaretByte() const;
    // Byte offsets of a UTF-16 range, in order and clamped.
    std::pair<int, int> ByteRange(int startOffset, int endOffset) const;
    // Selects [start, end) and replaces it by `text` (one undo step);
    // nothing when read-only or when the code page cannot hold the text.
    void Replace(int startOffset, int endOffset, const QString& text);

    // The logical line holding `offset`, its CR LF included.
    Span LineAt(int offset) const;
    // The piece of the given kind that holds `offset`; an empty span at the
    // end of the text.
    Span PieceAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
    QString Cut(Span span, int* startOffset, int* endOffset) const;

    static bool Listening();
    static void Send(QAccessibleEvent& event);
    // Reports what changed since the map was last built, if it was built.
    void ReportTextChange();
    void ReportCaret();

    mutable std::optional<TextMap> map_;
    // Set by the row store's change hook: the map no longer matches the text.
    std::shared_ptr<bool> stale_;
    std::vector<QMetaObject::Connection> connections_;
};
