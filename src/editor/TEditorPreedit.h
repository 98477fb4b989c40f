#pragma once
#include <QColor>
#include <QInputMethodEvent>
#include <QString>

#include <string>
#include <vector>

// The input method's unfinished text while the user composes. It is only
// shown: the painter splices it into the caret row at the caret's cell and
// moves the rest of that row right by its width. Nothing reaches the
// document until the input method commits.
//
// Widths are cells of the editor's grid: a character the code page holds
// takes as many cells as it has bytes there (1 or 2), any other character 1
// when it is ASCII and 2 otherwise.
class TEditorPreedit {
public:
    // How one character of the text is shown. `marked` is set on the clause
    // the input method is converting (any underline but a plain single one,
    // or a background of its own).
    struct Look {
        QColor foreground;  // invalid: the row's text colour
        QColor background;  // invalid: the control's colour
        bool marked = false;
    };

    // Takes the preedit and attributes of an input-method event: the
    // TextFormat ranges give each character's look, Cursor gives the cursor
    // (at the end and visible when the event names none).
    void Set(const QString& text, const QList<QInputMethodEvent::Attribute>& attributes);
    void Clear() { Set(QString(), {}); }

    bool Active() const { return !codes_.empty(); }
    // One entry per character (code point).
    const std::u32string& Codes() const { return codes_; }
    const std::vector<int>& Columns() const { return columns_; }  // first cell, from 0
    const std::vector<Look>& Looks() const { return looks_; }
    int Cells() const { return cells_; }

    // Cells before the input method's cursor, and whether it shows.
    int CursorCell() const { return cursorCell_; }
    bool CursorVisible() const { return cursorVisible_; }

    static int CellsOf(char32_t code);

private:
    std::u32string codes_;
    std::vector<int> columns_;
    std::vector<Look> looks_;
    int cells_ = 0;
    int cursorCell_ = 0;
    bool cursorVisible_ = true;
};
