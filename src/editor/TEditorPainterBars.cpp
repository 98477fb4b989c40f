// TEditorPainter: the image bar, the left bar and the ruler.
#include <QPainter>

#include <string>

#include "editor/BuiltinImages.h"
#include "editor/QtColor.h"
#include "editor/TEditorPainter.h"
#include "editor/core/TEditorCore.h"

namespace {

// The ruler's digit glyphs in one colour.
QImage TintedDigits(const QColor& colour)
{
    QImage image = BuiltinImages::RulerDigits().copy();
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(image.rect(), colour);
    return image;
}

}  // namespace

void TEditorPainter::PaintImagebar(QPainter& p, const QRect& clip, int height)
{
    const TEditorImagebar& bar = core_.Imagebar();
    const int top = core_.TextAreaTop();
    const int rowHeight = core_.RowHeight();
    const QRect area = QRect(0, top, bar.Width(), height - top) & clip;
    if (area.isEmpty())
        return;
    const TEditorLeftbar& left = core_.Leftbar();
    const QColor fill = left.Visible() && left.BkColor() != clNone ? ToQColor(left.BkColor(), Background())
                                                                   : Background();
    p.fillRect(area, fill);
    const int first = core_.TopRow() + (area.top() - top) / rowHeight;
    const int last = std::min(core_.RowCount() - 1, core_.TopRow() + (area.bottom() - top) / rowHeight);
    for (int row = first; row <= last; ++row) {
        const uint16_t marks = core_.GetRowMarks(row);
        if (!marks)
            continue;
        const int y = top + (row - core_.TopRow()) * rowHeight + 2;
        for (int m = 0; m < 10; ++m)
            if (marks & (1u << m)) {
                const bool own = m < static_cast<int>(ImageDigits.size()) && !ImageDigits[m].isNull();
                p.drawImage(bar.LeftMargin(), y, own ? ImageDigits[m] : BuiltinImages::MarkDigit(m));
                break;
            }
        for (int m = 10; m < 16; ++m)
            if (marks & (1u << m)) {
                const int k = m - 10;
                const bool own = k < static_cast<int>(ImageMarks.size()) && !ImageMarks[k].isNull();
                p.drawImage(bar.LeftMargin() + bar.DigitWidth(), y, own ? ImageMarks[k] : BuiltinImages::MarkSymbol(k));
                break;
            }
    }
}

void TEditorPainter::PaintLeftbar(QPainter& p, const QRect& clip, int height)
{
    const TEditorLeftbar& bar = core_.Leftbar();
    const int x = core_.Imagebar().Width();
    const int width = core_.LeftbarWidth();
    const int top = core_.TextAreaTop();
    const QRect area = QRect(x, top, width, height - top) & clip;
    if (area.isEmpty())
        return;
    const QColor bk = ToQColor(bar.BkColor(), Background());
    const QColor fg = ToQColor(bar.Color(), Foreground());
    p.fillRect(area, bk);

    // The 2-pixel edge on the right.
    const int edge = x + width - 2;
    p.fillRect(QRect(edge, area.top(), 1, area.height()), bar.Edge() ? QColor(Qt::white) : bk);
    p.fillRect(QRect(edge + 1, area.top(), 1, area.height()), bar.Edge() ? QColor(128, 128, 128) : fg);
    if (!bar.ShowNumber())
        return;

    const int colWidth = core_.ColWidth();
    const int digits = std::max(1, (width - bar.LeftMargin() - bar.RightMargin() - 2) / colWidth);
    const int rowHeight = core_.RowHeight();
    const int count = core_.RowCount();
    const bool openEnd = count == 0 || core_.Store().GetRowAttribute(count - 1) != raEndOfText;
    const int first = core_.TopRow() + (area.top() - top) / rowHeight;
    const int last = core_.TopRow() + (area.bottom() - top) / rowHeight;
    std::vector<int> columns(static_cast<std::size_t>(digits));
    for (int i = 0; i < digits; ++i)
        columns[static_cast<std::size_t>(i)] = i;
    for (int row = first; row <= last; ++row) {
        if (row > count || (row == count && !openEnd))
            break;
        int number;
        if (bar.ShowNumberMode() == nmLine) {
            if (row > 0 && row < count + 1 && core_.Store().GetRowAttribute(row - 1) == raWrapped)
                continue;
            number = row < count ? core_.RowToLine(row) : core_.Store().LineCount();
        } else {
            number = row;
        }
        if (!bar.ZeroBase())
            ++number;
        std::string text = std::to_string(number);
        if (static_cast<int>(text.size()) < digits)
            text.insert(0, static_cast<std::size_t>(digits) - text.size(), bar.ZeroLead() ? '0' : ' ');
        text = text.substr(text.size() - static_cast<std::size_t>(digits));
        const int y = top + (row - core_.TopRow()) * rowHeight;
        Text().Draw(p, text, 0, text.size(), columns, x + bar.LeftMargin(), y, fg, TFontStyles{});
    }
}

void TEditorPainter::PaintRulerNumbers(QPainter& p, int left, int right, const QColor& digits)
{
    const TEditorRuler& ruler = core_.Ruler();
    const int gauge = std::max(1, ruler.GaugeRange());
    const int colWidth = core_.ColWidth();
    const QImage strip = TintedDigits(digits);
    const int y = core_.Margin().Top();
    for (int n = core_.TopCol() / gauge * gauge; n <= 999; n += gauge) {
        int x = left + (n - core_.TopCol()) * colWidth + 1;
        if (x > right)
            break;
        for (const char c : std::to_string(n)) {
            const int d = c - '0';
            p.drawImage(QPoint(x, y), strip, QRect(5 * d, 0, 5, 9));
            x += BuiltinImages::RulerDigitAdvance(d);
        }
    }
}

void TEditorPainter::PaintRuler(QPainter& p, int width)
{
    const TEditorRuler& ruler = core_.Ruler();
    const int left = core_.TextAreaLeft();
    const int y = core_.Margin().Top();
    const int h = ruler.Height();
    const QColor bk = ToQColor(ruler.BkColor(), Background());
    const QColor fg = ToQColor(ruler.Color(), Foreground());
    p.save();
    p.setClipRect(QRect(left, y, std::max(0, width - left), h), Qt::IntersectClip);
    p.fillRect(QRect(left, y, width - left, h), bk);
    PaintRulerNumbers(p, left, width, fg);

    // The caret's column: its cell from a copy in the mark colours.
    const int colWidth = core_.ColWidth();
    const int cx = left + (core_.Col() - core_.TopCol()) * colWidth;
    if (cx >= left && cx < width) {
        p.setClipRect(QRect(cx, y, colWidth, h), Qt::IntersectClip);
        p.fillRect(QRect(cx, y, colWidth, h), ToQColor(ruler.MarkColor(), Foreground()));
        PaintRulerNumbers(p, left, width, bk);
    }
    p.restore();
    if (ruler.Edge()) {
        p.fillRect(QRect(left, y + h - 2, width - left, 1), Qt::white);
        p.fillRect(QRect(left, y + h - 1, width - left, 1), QColor(128, 128, 128));
    }
}
