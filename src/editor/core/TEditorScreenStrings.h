#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/AttachedEditor.h"
#include "editor/core/RowParser.h"
#include "editor/core/TEditorStringList.h"
#include "editor/core/TEditorUndoObj.h"
#include "editor/core/TEditorWrapOption.h"
#include "editor/core/TRowAttributeStringList.h"

// What a load found besides the text.
struct TLoadResult {
    int64_t BytesAfterEof = 0;  // bytes after a Ctrl-Z (byte 26) that ended the text
    bool EndedAtEof = false;    // the text ended at a Ctrl-Z
};

struct TRowsText {
    std::string Text;              // the rows joined, CR LF after each line-break row
    uint8_t LastAttribute = raNone;  // the last row's attribute; raNone when there were no rows
    int RowCount = 0;
};

// The document, held once as screen rows, shared by every editor showing it.
// Every change of the text after loading goes through ReplaceRows, which
// records undo, re-breaks the touched lines and tells the editors.
class TEditorScreenStrings : public TRowAttributeStringList {
public:
    TEditorScreenStrings();
    ~TEditorScreenStrings() override;

    // --- editors -----------------------------------------------------------
    void AttachEditor(AttachedEditor* editor);
    void DetachEditor(AttachedEditor* editor);
    const std::vector<AttachedEditor*>& Editors() const { return editors_; }
    // The focused attached editor, else the owner (the first), else none.
    AttachedEditor* FocusedEditor() const;
    void SetParser(RowParser* parser) { parser_ = parser; }
    RowParser* Parser() const { return parser_; }

    // --- the text ------------------------------------------------------------
    // Replaces rows [index, index+count) by `text` (which may hold line
    // breaks). An absent text differs from an empty one: see the .cpp.
    void ReplaceRows(int index, int count, std::optional<std::string_view> text);
    // Replaces bytes [from, from+count) of row `row` by `text`, as
    // ReplaceRows of the row's whole text would (one undo step). With word
    // wrap off and no line break in `text`, only those bytes are touched:
    // the row's text changes in place and the undo record holds the removed
    // bytes. A range outside the row is cut to it.
    void ReplaceInRow(int row, std::size_t from, std::size_t count, std::string_view text);
    // The first row that ReplaceRows(index, ...) lays out again; the rows
    // above it keep their text and their breaks.
    int FirstRowToRebreak(int index) const;
    // Removes rows and returns the union of their marks.
    uint16_t DeleteRows(int index, int count);
    // Puts `rows` in place of rows [first, first+oldCount); `rows` is emptied.
    void PutRows(int first, int oldCount, TEditorStringList& rows);
    // count -1: through the end of the logical line.
    TRowsText RowsText(int index, int count) const;
    std::string GetTextStr() const;
    // Replaces everything by `text` split at CR, LF and CR LF; no undo.
    void SetPlainText(std::string_view text);
    // The same over text in `block`, which the rows then share.
    void SetPlainTextShared(std::string_view text, std::shared_ptr<char[]> block);
    // Reads a file in two passes of 8 KB blocks; no undo. Throws
    // std::runtime_error when it cannot be read (the store is cleared by then).
    TLoadResult LoadRowsFromFile(const std::string& path);
    void Clear() override;
    // After the whole text was replaced (load, SetTextStr): re-break and
    // re-parse everything.
    void AfterWholeTextChange();

    // --- rows and lines ------------------------------------------------------
    int LineStartRow(int row) const;
    int LineEndRow(int row) const;
    int LineToRow(int line) const;
    int RowToLine(int row) const;
    int LineCount() const;
    // The highest row a caret may stand on.
    int MaxCaretRow() const;

    // --- marks ---------------------------------------------------------------
    void IncludeMarks(uint16_t marks) { usedMarks_ |= marks; }
    void ExcludeMarks(uint16_t marks) { usedMarks_ &= static_cast<uint16_t>(~marks); }
    uint16_t UsedMarks() const { return usedMarks_; }

    const TPendingUpdate& PendingUpdate() const { return pending_; }

    // --- undo ----------------------------------------------------------------
    TEditorUndoObj& UndoObj() { return *undo_; }
    const TEditorUndoObj& UndoObj() const { return *undo_; }
    void Undo() { undo_->Undo(); }
    void Redo() { undo_->Redo(); }

    // --- wrapping ------------------------------------------------------------
    bool WordWrap() const { return wordWrap_; }
    TEditorWrapOption& WrapOption() { return wrapOption_; }
    const TEditorWrapOption& WrapOption() const { return wrapOption_; }
    int TabSpaceCount() const { return tabSpaceCount_; }
    // The tab width the rows are broken with; a change re-wraps when wrap is on.
    void SetTabSpaceCount(int n);
    // Switching wrap clears the history, re-breaks (or joins) every line,
    // re-parses, and sends every editor's caret to column 0.
    void SetWordWrap(bool value);
    // Breaks a text into rows: each line into one row (wrap off) or into the
    // rows the wrap rules give, each ended line raLineBreak and the rows
    // before its end raWrapped. An absent text gives one empty row.
    void WrapText(std::optional<std::string_view> text, TEditorStringList& rows) const;
    // Rows the line would take with wrap on.
    int WrapRowCount(std::string_view line) const;
    // Re-breaks the whole document / joins each line back into one row.
    void WrapAll();
    void UnwrapAll();

protected:
    void SetUpdateState(bool updating) override;

private:
    friend class TEditorUndoObj;

    void NotifyEditors();
    void RecordPending(int first, int oldRows, int newRows, int reparsed);
    int Reparse(int row, int newRows);
    void ReparseAll();
    void MoveMarks(uint16_t marks, int row);
    TUndoData& NewUndoRecord() { return undo_->NewRecord(); }
    struct TReplacedRows {
        int OldCount;
        int NewCount;
    };
    // Replaces rows [first, first+headRows) by `head` (absent: one empty
    // row), re-breaking the line it ends in together with rows up to
    // lineEnd, which continue it. The very last new row gets endAttribute
    // when the re-breaking reached the line end. `record` receives what the
    // old rows held that the new ones do not (Text, Prefix, Suffix) and the
    // last old row's attribute.
    TReplacedRows PutText(int first, int headRows, std::optional<std::string_view> head, int lineEnd,
                          uint8_t endAttribute, TUndoData& record);
    int BreakIntoRows(std::string_view tail, int c0, int lineEnd, TEditorStringList& rows) const;
    // Whether bytes of row `row` can be replaced by `text` in place.
    bool SplicesInPlace(int row, std::string_view text) const;
    // Undoes a record made by such a replacement in place, when it was one;
    // `r` becomes its inverse.
    bool RestoreInPlace(TUndoData& r);
    void RebuildRows(bool wrap);
    void RewrapDocument(bool wrap);
    void WrapChanged();

    std::vector<AttachedEditor*> editors_;
    RowParser* parser_ = nullptr;
    TPendingUpdate pending_;
    uint16_t usedMarks_ = 0;
    std::unique_ptr<TEditorUndoObj> undo_;
    bool wordWrap_ = false;
    TEditorWrapOption wrapOption_;
    int tabSpaceCount_ = 8;
};
