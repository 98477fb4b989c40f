#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "editor/core/RowParser.h"
#include "editor/core/TRowAttributeData.h"

class TEditorScreenStrings;
class TEditorViewInfo;
class TFountain;
class TFountainParser;

// Keeps the start states of a document's rows up to date for colouring.
// Attach it with store.SetParser(&parser). It colours with the scheme set by
// SetFountain, or else with the View's built-in one.
//
// The states are valid from row 0 down to the first row not yet parsed
// (BracketIndex -2); the rows below are parsed on demand when they are
// painted (RowStartState). Work is bounded by the attached editors' screen:
// a change re-parses at most two screens below the changed row, and stops
// as soon as a row's stored start state equals the newly computed one.
class TEditorRowParser : public RowParser {
public:
    // Used when no editor is attached.
    static constexpr int DefaultScreenRows = 64;

    TEditorRowParser(TEditorScreenStrings& store, TEditorViewInfo& view);
    ~TEditorRowParser() override;
    TEditorRowParser(const TEditorRowParser&) = delete;
    TEditorRowParser& operator=(const TEditorRowParser&) = delete;

    // Rows of at least four times this many bytes that are whole logical
    // lines keep scan marks about this far apart, so that a change re-reads
    // only about this much of the row around it (see ScanLongRow).
    static constexpr std::size_t DefaultScanMarkSpacing = 1024;

    // null: the View's built-in scheme. The scheme must outlive its use here.
    void SetFountain(TFountain* fountain);
    TFountain& Fountain() const;
    // A scanner of the scheme in use.
    std::unique_ptr<TFountainParser> CreateParser() const;
    // Whether the scheme in use draws anything in italics.
    bool HasItalicStyle() const;

    // After a change at `row`: re-parses from the nearest parsed row above
    // it, repaints every re-stored row in every attached editor, and returns
    // how many rows were re-stored. The rows whose text changed must be
    // marked not yet parsed, except `row` itself, which is always re-parsed.
    int ReparseFrom(int row, int newRows) override
    {
        firstUnparsedHint_ = std::min(firstUnparsedHint_, std::max(0, row));
        return Reparse(row, true, row + std::max(0, newRows));
    }
    // The same when the extent of the change is not known: every row below
    // is looked at.
    int ReparseFrom(int row);
    // Marks every row not yet parsed, then parses from the top through two
    // screens below the first visible row (through the end with
    // InitBracketsFull).
    void ReparseAll() override;

    // The start state of `row` for painting, parsing down to it (and two
    // screens further) when it is not parsed yet. The initial state for a
    // row outside the document.
    TRowAttributeData RowStartState(int row);

    // Parses the first rows not yet parsed, about `rows` of them, so that a
    // later jump far down finds its states ready. Returns whether rows
    // remain unparsed; the window calls it while it is idle.
    bool ParseAhead(int rows);

    // The text a row's tokens are read from: its own text, followed by the
    // next row's when it is raWrapped (then copied into `buffer`). Tokens
    // starting at or after the row's own length belong to the next row.
    std::string_view ScanText(int row, std::string& buffer) const;
    // Points `scanner` at the row for painting: its ScanText and start state.
    void StartRowScan(TFountainParser& scanner, int row, std::string& buffer);

    void SetScanMarkSpacing(std::size_t bytes) { scanMarkSpacing_ = std::max<std::size_t>(1, bytes); }
    // Bytes the last ParseRow calls read of long rows, for tests.
    std::size_t LongRowBytesScanned() const { return longRowBytesScanned_; }
    void ResetLongRowBytesScanned() { longRowBytesScanned_ = 0; }

private:
    // Rows below the limit are marked not yet parsed down to the first that
    // already is at or after `tailFrom`.
    int Reparse(int row, bool notify, int tailFrom);
    int ScreenRows() const;
    bool SameState(int row, const TRowAttributeData& state) const;
    void MarkUnparsed(int row);
    // TFountainParser::ParseRow, through the row's scan marks when it is long.
    void ParseRow(TFountainParser& parser, int row, TRowAttributeData& state);
    bool KeepsScanMarks(int row, std::string_view text) const;

    TEditorScreenStrings& store_;
    TEditorViewInfo& view_;
    TFountain* fountain_ = nullptr;
    // No row above this one is unparsed.
    int firstUnparsedHint_ = 0;
    // Scan marks of another scheme, another parser or an earlier full
    // re-parse carry another number.
    uint64_t generation_;
    std::size_t scanMarkSpacing_ = DefaultScanMarkSpacing;
    std::size_t longRowBytesScanned_ = 0;
};
