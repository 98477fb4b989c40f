#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "FakeView.h"
#include "editor/core/TEditorCore.h"

// A core over a fake window, with short forms for what tests do most.
struct Editor {
    FakeView view;
    TEditorCore ed{view};

    explicit Editor(std::string_view text = {})
    {
        if (!text.empty())
            ed.Lines().SetTextStr(text);
        ed.SetRowCol(0, 0);
        ed.SetModified(false);
    }
    std::string Text() const { return ed.Lines().GetTextStr(); }
    void Key(TEditorKey k, TShiftState s = 0, bool repeat = false) { ed.KeyDown(k, s, repeat); }
    void Type(std::string_view chars, TShiftState s = 0) { ed.KeyPress(chars, s); }
    void At(int row, int col) { ed.SetRowCol(row, col); }
    std::pair<int, int> Caret() const { return {ed.Row(), ed.Col()}; }
    void Wrap(int wrapByte)
    {
        ed.WrapOption().SetWrapByte(wrapByte);
        ed.SetWordWrap(true);
    }
};
