// TEditorPainter: the text area.
#include "editor/TEditorPainter.h"

#include <QPainter>
#include <QRegion>

#include "editor/QtColor.h"
#include "editor/TEditorPreedit.h"
#include "editor/core/CellMap.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorCore.h"
#include "editor/core/TFountainParser.h"

namespace {
constexpr int kMaxShownColumns = 1000;
}

TEditorPainter::TEditorPainter(TEditorCore& core) : core_(core) {}

TEditorPainter::~TEditorPainter() = default;


void TEditorPainter::Paint(QPainter& p, const QRect& clip, int width, int height, bool caretRowUnderline)
{
    background_ = ToQColor(core_.Color(), QColor(Qt::white));
    foreground_ = ToQColor(core_.Font().Color, QColor(Qt::black));
    p.fillRect(clip, Background());
    scanner_ = core_.RowParser().CreateParser();
    if (core_.Ruler().Visible() && clip.top() < core_.TextAreaTop())
        PaintRuler(p, width);
    if (clip.bottom() >= core_.TextAreaTop()) {
        if (core_.Imagebar().Visible())
            PaintImagebar(p, clip, height);
        if (core_.Leftbar().Visible())
            PaintLeftbar(p, clip, height);
        PaintRows(p, clip, width, caretRowUnderline);
    }
}

void TEditorPainter::PaintRows(QPainter& p, const QRect& clip, int width, bool underline)
{
    const int top = core_.TextAreaTop();
    const int left = core_.TextAreaLeft();
    const int rowHeight = core_.RowHeight();
    const QRect area = QRect(left, top, std::max(0, width - left), std::max(0, clip.bottom() + 1 - top)) & clip;
    if (area.isEmpty())
        return;
    p.save();
    p.setClipRect(area);
    const int first = core_.TopRow() + std::max(0, (area.top() - top) / rowHeight);
    const int last = core_.TopRow() + (area.bottom() - top) / rowHeight;
    for (int row = first; row <= last; ++row)
        PaintTextRow(p, row, top + (row - core_.TopRow()) * rowHeight, width);
    if (!bracketMarks_.empty())
        PaintBracketMarks(p, first, last);

    const TEditorMark& line = core_.Marks().Underline;
    if (underline && line.Visible() && core_.SelectionState() < 2) {
        const int y = top + (core_.Row() - core_.TopRow() + 1) * rowHeight - 1;
        p.setPen(ToQColor(line.Color(), Foreground()));
        p.drawLine(left, y, width - 1, y);
    }
    p.restore();
}

TEditorPainter::Span TEditorPainter::SelectedSpan(int row) const
{
    if (core_.SelectionState() < 2)
        return {0, 0};
    const TEditorSelectionRange& d = core_.SelDisplay();
    if (row < d.StartRow || row > d.EndRow)
        return {0, 0};
    if (core_.BoxMode())
        return {d.StartCol, d.EndCol};
    const int from = row == d.StartRow ? d.StartCol : 0;
    const int to = row == d.EndRow ? d.EndCol : 1 << 20;
    return {from, to};
}

void TEditorPainter::PaintTextRow(QPainter& p, int row, int y, int width)
{
    const int count = core_.RowCount();
    const int colWidth = core_.ColWidth();
    const int x0 = core_.TextAreaLeft() - core_.TopCol() * colWidth;
    const int rowHeight = core_.RowHeight();
    p.fillRect(QRect(core_.TextAreaLeft(), y, width, rowHeight), Background());

    if (row >= count) {
        const bool endsOpen = count == 0 || core_.Store().GetRowAttribute(count - 1) == raLineBreak;
        // The caret may stand on the row after the last one.
        const bool composing = preedit_ && preedit_->Active() && row == core_.Row();
        spliceCol_ = composing ? core_.Col() : -1;
        spliceCells_ = composing ? preedit_->Cells() : 0;
        if (row == count && endsOpen && core_.Marks().EofMark.Visible())
            PaintEofMark(p, x0 + ShiftStart(0) * colWidth, y, ToQColor(core_.Marks().EofMark.Color(), Foreground()));
        if (composing)
            PaintPreedit(p, y);
        spliceCol_ = -1;
        return;
    }

    const std::string map = core_.BuildMap(row);
    const std::string_view text = core_.Store().RowView(row);
    const int mapEnd = LayoutRow(row, map);
    const int endCol = std::min(mapEnd, ShiftStart(kMaxShownColumns));

    const bool hit = core_.SelectionState() == 3;
    const TEditorColor& sel = hit ? core_.View().Colors().Hit : core_.View().Colors().Select;
    const QColor selFg = ToQColor(sel.Color(), Background());
    const QColor selBg = ToQColor(sel.BkColor(), Background());
    Span span = SelectedSpan(row);
    span = {ShiftStart(span.from), span.to >= (1 << 20) ? span.to : ShiftEnd(span.to)};
    const bool selected = span.to > span.from;
    const QRect rowRect(core_.TextAreaLeft(), y, width, rowHeight);

    if (!selected) {
        PaintTokens(p, row, y, mapEnd, false, selFg, selBg);
        PaintRowEndMark(p, row, y, endCol, nullptr);
    } else {
        const int sx = std::max(rowRect.left(), x0 + span.from * colWidth);
        const int ex = span.to >= (1 << 20) ? rowRect.right() + 1 : std::min(rowRect.right() + 1, x0 + span.to * colWidth);
        const QRect selRect(sx, y, std::max(0, ex - sx), rowHeight);
        const QRegion outer = p.clipRegion();
        p.save();
        p.setClipRegion(outer.intersected(QRegion(rowRect).subtracted(QRegion(selRect))));
        PaintTokens(p, row, y, mapEnd, false, selFg, selBg);
        PaintRowEndMark(p, row, y, endCol, nullptr);
        p.setClipRegion(outer.intersected(QRegion(selRect)));
        p.fillRect(selRect, selBg);
        PaintTokens(p, row, y, mapEnd, true, selFg, selBg);
        PaintRowEndMark(p, row, y, endCol, &selFg);
        p.restore();
    }
    if (OnDrawLine)
        OnDrawLine(p, std::string(text), x0, y, row, selected);
    if (spliceCol_ >= 0)
        PaintPreedit(p, y);
}

int TEditorPainter::LayoutRow(int row, const std::string& map)
{
    const std::string_view text = core_.Store().RowView(row);
    const bool composing = preedit_ && preedit_->Active() && row == core_.Row();
    spliceCol_ = composing ? core_.Col() : -1;
    spliceCells_ = composing ? preedit_->Cells() : 0;
    // The map covers at most one byte per cell.
    columns_.assign(std::min(text.size(), map.size()), -1);
    std::size_t b = 0;
    for (int c = 0; c < static_cast<int>(map.size()) && b < columns_.size(); ++c)
        if (map[static_cast<std::size_t>(c)] != CellKind::TabFill)
            columns_[b++] = ShiftStart(c);
    columns_.resize(b);  // bytes past the map are not shown
    return ShiftStart(static_cast<int>(map.size()));
}

std::vector<int> TEditorPainter::PaintedColumns(int row)
{
    std::vector<int> columns(core_.Store().RowLength(row), -1);
    if (row < 0 || row >= core_.RowCount())
        return columns;
    LayoutRow(row, core_.BuildMap(row));
    std::copy(columns_.begin(), columns_.end(), columns.begin());
    spliceCol_ = -1;
    return columns;
}

bool TEditorPainter::CellOf(int line, int index, int& row, int& col, int* offset)
{
    if (line < 0 || index < 0 || line >= core_.Store().LineCount())
        return false;
    // The rows of a wrapped line hold its bytes one after another.
    const int count = core_.RowCount();
    int r = core_.LineToRow(line);
    while (r < count && index >= static_cast<int>(core_.Store().RowLength(r))
           && core_.Store().GetRowAttribute(r) == raWrapped) {
        index -= static_cast<int>(core_.Store().RowLength(r));
        ++r;
    }
    if (r >= count || index >= static_cast<int>(core_.Store().RowLength(r)))
        return false;
    const std::vector<int> columns = PaintedColumns(r);
    if (columns[static_cast<std::size_t>(index)] < 0)
        return false;
    row = r;
    col = columns[static_cast<std::size_t>(index)];
    if (offset)
        *offset = index;
    return true;
}

void TEditorPainter::PaintBracketMarks(QPainter& p, int firstRow, int lastRow)
{
    const int colWidth = core_.ColWidth();
    const int x0 = core_.TextAreaLeft() - core_.TopCol() * colWidth;
    for (const BracketMark& mark : bracketMarks_) {
        int row = 0;
        int col = 0;
        int offset = 0;
        if (!CellOf(mark.Line, mark.Index, row, col, &offset) || row < firstRow || row > lastRow)
            continue;
        const std::string_view text = core_.Store().RowView(row);
        if (text[static_cast<std::size_t>(offset)] != mark.Byte)
            continue;
        const int y = core_.TextAreaTop() + (row - core_.TopRow()) * core_.RowHeight();
        std::vector<int> columns(text.size(), -1);
        columns[static_cast<std::size_t>(offset)] = col;
        p.fillRect(QRect(x0 + col * colWidth, y, colWidth, core_.FontHeight()), Qt::black);
        text_.Draw(p, text, static_cast<std::size_t>(offset), static_cast<std::size_t>(offset) + 1, columns, x0, y,
                   QColor(Qt::white), TFontStyles{});
    }
}

void TEditorPainter::PaintPreedit(QPainter& p, int y)
{
    // Glyphs, backgrounds and underlines on the preedit's own cells, over
    // whatever the row's tokens left there.
    const int colWidth = core_.ColWidth();
    const int h = core_.FontHeight();
    const int x = core_.TextAreaLeft() + (spliceCol_ - core_.TopCol()) * colWidth;
    const std::u32string& codes = preedit_->Codes();
    const std::vector<int>& columns = preedit_->Columns();
    const std::vector<TEditorPreedit::Look>& looks = preedit_->Looks();
    p.fillRect(QRect(x, y, spliceCells_ * colWidth, h), Background());
    const int underlineY = y + h - 1;
    std::size_t from = 0;
    while (from < codes.size()) {
        // A run of characters that look the same.
        const TEditorPreedit::Look& look = looks[from];
        std::size_t to = from + 1;
        while (to < codes.size() && looks[to].foreground == look.foreground &&
               looks[to].background == look.background && looks[to].marked == look.marked)
            ++to;
        const int left = x + columns[from] * colWidth;
        const int right = x + (to < codes.size() ? columns[to] : spliceCells_) * colWidth;
        if (look.background.isValid())
            p.fillRect(QRect(left, y, right - left, h), look.background);
        const QColor fg = look.foreground.isValid() ? look.foreground : Foreground();
        text_.DrawCodes(p, codes, from, to, columns, x, y, fg);
        // The whole preedit is underlined; the clause being converted with a
        // line twice as thick.
        p.fillRect(QRect(left, look.marked ? underlineY - 1 : underlineY, right - left, look.marked ? 2 : 1), fg);
        from = to;
    }
}

void TEditorPainter::PaintTokens(QPainter& p, int row, int y, int endCol, bool selectedColours,
                                 const QColor& selFg, const QColor& selBg)
{
    const std::string_view rowText = core_.Store().RowView(row);
    const int rowLength = static_cast<int>(columns_.size());
    const int colWidth = core_.ColWidth();
    const int x0 = core_.TextAreaLeft() - core_.TopCol() * colWidth;
    const int clipRight = p.clipBoundingRect().isEmpty() ? 1 << 30 : static_cast<int>(p.clipBoundingRect().right());

    core_.RowParser().StartRowScan(*scanner_, row, buffer_);
    while (scanner_->NextToken() != tkEnd) {
        const int start = scanner_->TokenStart();
        if (start >= rowLength)
            break;
        const int end = std::min(start + scanner_->TokenLength(), rowLength);
        const int fromCol = columns_[static_cast<std::size_t>(start)];
        const int toCol = end < rowLength ? columns_[static_cast<std::size_t>(end)] : endCol;
        const int fromX = x0 + fromCol * colWidth;
        const int toX = x0 + toCol * colWidth;
        if (toX < core_.TextAreaLeft())
            continue;
        if (fromX > clipRight)
            break;

        const TFountainColor* fc = scanner_->TokenToFountainColor();
        QColor fg = Foreground();
        TFontStyles style{};
        if (fc) {
            fg = ToQColor(fc->Color(), Foreground());
            style = fc->Style();
            if (!selectedColours && fc->BkColor() != clNone)
                p.fillRect(QRect(fromX, y, toX - fromX, core_.FontHeight()), ToQColor(fc->BkColor(), Background()));
        }
        if (selectedColours)
            fg = selFg;
        text_.Draw(p, rowText, static_cast<std::size_t>(start), static_cast<std::size_t>(end), columns_, x0, y, fg,
                   style & ~fsUnderline);
        if (HasStyle(style, fsUnderline)) {
            // A dotted line: text colour on the first pixel, then the background.
            const int uy = y + core_.FontHeight() - 1;
            const QColor bg = selectedColours ? selBg
                              : (fc && fc->BkColor() != clNone) ? ToQColor(fc->BkColor(), Background())
                                                                : Background();
            for (int x = fromX; x < toX; ++x) {
                p.setPen((x - fromX) % 2 == 0 ? fg : bg);
                p.drawPoint(x, uy);
            }
        }
    }
}

void TEditorPainter::PaintRowEndMark(QPainter& p, int row, int y, int endCol, const QColor* override)
{
    const TEditorMarks& marks = core_.Marks();
    const int count = core_.RowCount();
    const uint8_t attr = core_.Store().GetRowAttribute(row);
    const bool hidden = static_cast<int>(columns_.size()) < static_cast<int>(core_.Store().RowLength(row));
    const TEditorMark* mark = nullptr;
    if (hidden)
        mark = &marks.HideMark;
    else if (row == count - 1 && attr == raEndOfText)
        mark = &marks.EofMark;
    else if (attr == raLineBreak)
        mark = &marks.RetMark;
    else if (attr == raWrapped)
        mark = &marks.WrapMark;
    if (!mark || !mark->Visible())
        return;
    const QColor colour = override ? *override : ToQColor(mark->Color(), Foreground());
    const int w = core_.ColWidth();
    const int h = core_.FontHeight();
    const int x = core_.TextAreaLeft() + (endCol - core_.TopCol()) * w;
    const int mid = y + h / 2;
    const int g = std::max(2, w * 3 / 5);
    p.setPen(colour);
    if (mark == &marks.EofMark) {
        PaintEofMark(p, x, y, colour);
        return;
    }
    if (mark == &marks.RetMark) {
        const int e = std::max(1, h / 8);
        const int cx = x + w / 2;
        const int bottom = y + h - 2 * e;
        const int arm = std::max(e, 3);
        p.drawLine(cx, y + 2 * e, cx, bottom);
        p.drawLine(cx, bottom, cx - arm, bottom - arm);
        p.drawLine(cx, bottom, cx + arm, bottom - arm);
    } else if (mark == &marks.WrapMark) {
        p.drawLine(x + w, mid - g, x + w - g, mid);
        p.drawLine(x + w - g, mid, x + w + 1, mid + g + 1);
    } else {
        p.drawLine(x + w - g, mid - g, x + w, mid);
        p.drawLine(x + w, mid, x + w - g - 1, mid + g + 1);
    }
}

void TEditorPainter::PaintEofMark(QPainter& p, int x, int y, const QColor& colour)
{
    static const std::string kEof = "[EOF]";
    static const std::vector<int> kColumns = {0, 1, 2, 3, 4};
    const int w = core_.ColWidth();
    p.save();
    p.setClipRect(QRect(x, y, 6 * w, core_.RowHeight()), Qt::IntersectClip);
    p.fillRect(QRect(x, y, 6 * w, core_.FontHeight()), Background());
    text_.Draw(p, kEof, 0, kEof.size(), kColumns, x, y, colour, TFontStyles{});
    p.restore();
}
