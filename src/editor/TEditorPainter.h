#pragma once
#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>

#include <memory>
#include <string>
#include <vector>

#include "editor/CellTextDrawer.h"

class QPainter;
class TEditorCore;
class TFountainParser;
class TFountainColor;
class TEditorPreedit;

// Draws an editor's client area from its core: the text rows with their
// colours, selection and row-end marks, the left bar with numbers, the
// image bar with row marks, and the ruler. It keeps no picture of the text:
// each paint reads the rows it covers, so its cost follows the window's
// size, not the document's.
class TEditorPainter {
public:
    explicit TEditorPainter(TEditorCore& core);
    ~TEditorPainter();
    TEditorPainter(const TEditorPainter&) = delete;
    TEditorPainter& operator=(const TEditorPainter&) = delete;

    CellTextDrawer& Text() { return text_; }

    // Images for marks 0..9 and 10..15; a missing one is drawn from the
    // built-in set.
    std::vector<QImage> ImageDigits;
    std::vector<QImage> ImageMarks;

    // Paints what lies inside `clip` of a client area of the given size.
    // `caretRowUnderline` says whether the caret row's underline is shown.
    void Paint(QPainter& p, const QRect& clip, int width, int height, bool caretRowUnderline);

    // The input method's unfinished text, shown spliced into the caret row
    // while it is active; null for none. Not owned.
    void SetPreedit(const TEditorPreedit* preedit) { preedit_ = preedit; }

    // The cell column at which each byte of `row` is drawn (-1 for bytes
    // past the shown part), with the preedit spliced in on the caret row.
    std::vector<int> PaintedColumns(int row);

    // The control's own colours, resolved at the start of each paint.
    const QColor& Background() const { return background_; }
    const QColor& Foreground() const { return foreground_; }

    // Characters shown white on black over the text, whatever else the row
    // shows: a matched pair of brackets. Each names its logical line, its
    // byte offset there and the byte it stands for; one whose byte is no
    // longer there is not drawn.
    struct BracketMark {
        int Line = 0;
        int Index = 0;
        char Byte = 0;
        bool operator==(const BracketMark&) const = default;
    };
    void SetBracketMarks(std::vector<BracketMark> marks) { bracketMarks_ = std::move(marks); }
    const std::vector<BracketMark>& BracketMarks() const { return bracketMarks_; }
    // The screen row and cell column where byte `index` of logical line
    // `line` is drawn, and the byte's offset in that row; false when there
    // is no such byte or it is not shown.
    bool CellOf(int line, int index, int& row, int& col, int* offset = nullptr);

    // Called after each row's text has been drawn: the row text, its origin,
    // the row and whether it is drawn with selection colours.
    std::function<void(QPainter&, const std::string&, int, int, int, bool)> OnDrawLine;

private:
    struct Span {
        int from;
        int to;  // columns, end exclusive
    };
    void PaintRows(QPainter& p, const QRect& clip, int width, bool underline);
    void PaintTextRow(QPainter& p, int row, int y, int width);
    // Fills columns_ with the byte columns of `row` from its map and returns
    // the row's end column as drawn; sets the splice of the preedit.
    int LayoutRow(int row, const std::string& map);
    void PaintPreedit(QPainter& p, int y);
    void PaintBracketMarks(QPainter& p, int firstRow, int lastRow);
    // A column of the row's own layout moved past the preedit: a start
    // column at or after the splice, an end column after it.
    int ShiftStart(int col) const { return spliceCol_ >= 0 && col >= spliceCol_ ? col + spliceCells_ : col; }
    int ShiftEnd(int col) const { return spliceCol_ >= 0 && col > spliceCol_ ? col + spliceCells_ : col; }
    void PaintTokens(QPainter& p, int row, int y, int endCol, bool selectedColours,
                     const QColor& selFg, const QColor& selBg);
    void PaintRowEndMark(QPainter& p, int row, int y, int endCol, const QColor* override);
    void PaintEofMark(QPainter& p, int x, int y, const QColor& colour);
    // The selected columns of `row`, empty when none.
    Span SelectedSpan(int row) const;

    void PaintLeftbar(QPainter& p, const QRect& clip, int height);
    void PaintImagebar(QPainter& p, const QRect& clip, int height);
    void PaintRuler(QPainter& p, int width);
    void PaintRulerNumbers(QPainter& p, int left, int right, const QColor& digits);

    TEditorCore& core_;
    CellTextDrawer text_;
    std::unique_ptr<TFountainParser> scanner_;
    std::string buffer_;
    QColor background_{Qt::white};
    QColor foreground_{Qt::black};
    std::vector<int> columns_;
    const TEditorPreedit* preedit_ = nullptr;
    std::vector<BracketMark> bracketMarks_;
    // While the row being painted holds the preedit: its column and width.
    int spliceCol_ = -1;
    int spliceCells_ = 0;
};
