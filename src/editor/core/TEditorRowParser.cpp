#include "editor/core/TEditorRowParser.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "editor/core/LongRowScan.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorViewInfo.h"
#include "editor/core/TFountainParser.h"
#include "editor/core/TTokenKind.h"

namespace {

uint64_t NewGeneration()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}

// Bytes the scanner skips between tokens.
bool IsBlank(unsigned char c) { return (c >= 1 && c <= 8) || (c >= 10 && c <= 32); }

}  // namespace

TEditorRowParser::TEditorRowParser(TEditorScreenStrings& store, TEditorViewInfo& view)
    : store_(store), view_(view), generation_(NewGeneration())
{
}

void TEditorRowParser::SetFountain(TFountain* fountain)
{
    fountain_ = fountain;
    generation_ = NewGeneration();
}

TEditorRowParser::~TEditorRowParser()
{
    if (store_.Parser() == this)
        store_.SetParser(nullptr);
}

TFountain& TEditorRowParser::Fountain() const { return fountain_ ? *fountain_ : view_.Fountain(); }

std::unique_ptr<TFountainParser> TEditorRowParser::CreateParser() const { return Fountain().CreateParser(); }

bool TEditorRowParser::HasItalicStyle() const { return Fountain().HasItalicStyle(); }

int TEditorRowParser::ScreenRows() const
{
    const AttachedEditor* editor = store_.FocusedEditor();
    return std::max(1, editor ? editor->ScreenRows() : DefaultScreenRows);
}

bool TEditorRowParser::SameState(int row, const TRowAttributeData& state) const
{
    return store_.GetAttrWord(row) == TRowAttributeStringList::PackAttrWord(state)
        && (store_.GetStateWord(row) & 0xFFFFu) == (TRowAttributeStringList::PackStateWord(state, 0) & 0xFFFFu)
        && store_.GetStateText(row) == state.StateText;
}

void TEditorRowParser::MarkUnparsed(int row)
{
    TRowAttributeData unparsed;
    unparsed.RowAttribute = store_.GetRowAttribute(row);
    unparsed.BracketIndex = -2;
    store_.SetRowAttributeData(row, unparsed);
    firstUnparsedHint_ = std::min(firstUnparsedHint_, row);
}

bool TEditorRowParser::ParseAhead(int rows)
{
    const int count = store_.GetCount();
    while (firstUnparsedHint_ < count && store_.GetBracketIndex(firstUnparsedHint_) != -2)
        ++firstUnparsedHint_;
    if (firstUnparsedHint_ >= count)
        return false;
    RowStartState(std::min(count - 1, firstUnparsedHint_ + std::max(1, rows)));
    return true;
}

int TEditorRowParser::ReparseFrom(int row)
{
    firstUnparsedHint_ = std::min(firstUnparsedHint_, std::max(0, row));
    return Reparse(row, true, store_.GetCount());
}

int TEditorRowParser::Reparse(int row, bool notify, int tailFrom)
{
    const int count = store_.GetCount();
    if (count == 0)
        return 0;
    row = std::max(row, 0);

    // Start from the nearest parsed row above: it gives the next row's state.
    int base = std::min(row, count) - 1;
    while (base >= 0 && store_.GetBracketIndex(base) == -2)
        --base;
    const std::unique_ptr<TFountainParser> parser = CreateParser();
    TRowAttributeData state;
    if (base >= 0) {
        state = store_.GetRowAttributeData(base);
        ParseRow(*parser, base, state);
    }

    const int limit = static_cast<int>(std::min<long long>(count - 1, row + 2LL * ScreenRows()));
    std::vector<AttachedEditor*> editors;
    if (notify)
        editors = store_.Editors();
    int reparsed = 0;
    for (int r = base + 1; r <= limit; ++r) {
        state.PrevRowAttribute = r > 0 ? store_.GetRowAttribute(r - 1) : uint8_t{raLineBreak};
        state.RowAttribute = store_.GetRowAttribute(r);
        if (r > row && SameState(r, state))
            return reparsed;  // the rest is still valid
        store_.SetRowAttributeData(r, state);
        ++reparsed;
        for (AttachedEditor* e : editors)
            e->InvalidateRow(r);
        if (r < limit)
            ParseRow(*parser, r, state);
    }

    // The states below the limit may all be wrong now. The parsed rows
    // end at the first row not yet parsed, except that rows the change put
    // in may be unparsed with stale parsed rows after them: the marking goes
    // on past those (only here, when the change did not settle within two
    // screens).
    for (int r = limit + 1; r < count; ++r) {
        if (store_.GetBracketIndex(r) != -2)
            MarkUnparsed(r);
        else if (r >= tailFrom)
            break;
    }
    return reparsed;
}

void TEditorRowParser::ReparseAll()
{
    firstUnparsedHint_ = 0;
    generation_ = NewGeneration();
    const int count = store_.GetCount();
    for (int r = 0; r < count; ++r)
        if (store_.GetBracketIndex(r) != -2)
            MarkUnparsed(r);
    if (count == 0)
        return;

    const AttachedEditor* editor = store_.FocusedEditor();
    int last = count - 1;
    if (!(editor && editor->InitBracketsFull())) {
        const long long top = editor ? std::max(0, editor->TopRow()) : 0;
        last = static_cast<int>(std::min<long long>(last, top + 2LL * ScreenRows()));
    }
    const std::unique_ptr<TFountainParser> parser = CreateParser();
    TRowAttributeData state;
    for (int r = 0; r <= last; ++r) {
        state.PrevRowAttribute = r > 0 ? store_.GetRowAttribute(r - 1) : uint8_t{raLineBreak};
        state.RowAttribute = store_.GetRowAttribute(r);
        store_.SetRowAttributeData(r, state);
        if (r < last)
            ParseRow(*parser, r, state);
    }
}

TRowAttributeData TEditorRowParser::RowStartState(int row)
{
    if (row < 0 || row >= store_.GetCount())
        return TRowAttributeData{};
    if (store_.GetBracketIndex(row) == -2)
        Reparse(row, false, row);
    return store_.GetRowAttributeData(row);
}

std::string_view TEditorRowParser::ScanText(int row, std::string& buffer) const
{
    const std::string_view own = store_.RowView(row);
    if (store_.GetRowAttribute(row) != raWrapped || row + 1 >= store_.GetCount())
        return own;
    buffer.assign(own);
    buffer.append(store_.RowView(row + 1));
    return buffer;
}

void TEditorRowParser::StartRowScan(TFountainParser& scanner, int row, std::string& buffer)
{
    const TRowAttributeData state = RowStartState(row);
    const std::string_view scan = ScanText(row, buffer);
    const bool stored = row >= 0 && row < store_.GetCount();
    if (stored && !store_.ScanMarks(row) && KeepsScanMarks(row, scan)) {
        // A long row that no parse has read yet (the last row): read it once,
        // so that it has marks from now on.
        TRowAttributeData end = state;
        ParseRow(scanner, row, end);
    }
    // A row with scan marks holds no line break: nothing to look for.
    if (stored && store_.ScanMarks(row) && scan.size() == store_.RowLength(row))
        scanner.SetRowText(scan, state);
    else
        scanner.SetText(scan, state);
}

bool TEditorRowParser::KeepsScanMarks(int row, std::string_view text) const
{
    return text.size() >= 4 * scanMarkSpacing_ && store_.GetRowAttribute(row) != raWrapped;
}

void TEditorRowParser::ParseRow(TFountainParser& parser, int row, TRowAttributeData& state)
{
    const std::string_view text = store_.RowView(row);
    const bool blank =
        std::all_of(text.begin(), text.end(), [](char c) { return IsBlank(static_cast<unsigned char>(c)); });
    if (!KeepsScanMarks(row, text) || blank || state.WrappedToken == tkComment) {
        parser.ParseRow(row, store_, state);
        return;
    }
    RowScanMarks* marks = store_.ScanMarks(row);
    if (!marks) {
        // The scanner ends a text at a line break; a row with one is scanned
        // as it always was.
        if (std::memchr(text.data(), '\r', text.size()) || std::memchr(text.data(), '\n', text.size())) {
            parser.ParseRow(row, store_, state);
            return;
        }
        marks = &store_.MakeScanMarks(row);
        marks->Generation = 0;
    }
    longRowBytesScanned_ += ScanLongRow(parser, text, state, *marks, generation_, scanMarkSpacing_);
}
