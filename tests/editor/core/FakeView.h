#pragma once
#include <optional>
#include <string>

#include "editor/core/TEditorViewServices.h"

// A window as the core sees it: fixed metrics and a record of what it was told.
class FakeView : public TEditorViewServices {
public:
    int ClientWidth() const override { return width; }
    int ClientHeight() const override { return height; }
    int CharWidth() const override { return charWidth; }
    int FontHeight() const override { return fontHeight; }
    int HorizontalScrollBarHeight() const override { return 16; }
    int VerticalScrollBarWidth() const override { return 16; }
    void InvalidateRows(int, int) override {}
    void InvalidateAll() override {}
    void ScrollText(int dx, int dy) override
    {
        scrolledX += dx;
        scrolledY += dy;
    }
    void SetVerticalScrollBar(int, int, int) override {}
    void SetHorizontalScrollBar(int, int, int) override {}
    void CreateCaret(int w, int h) override
    {
        caretW = w;
        caretH = h;
    }
    void SetCaretPos(int x, int y) override
    {
        caretX = x;
        caretY = y;
    }
    void ShowCaret() override {}
    void HideCaret() override {}
    void SetClipboard(const std::string& text, const std::optional<std::string>& box) override
    {
        clip = text;
        clipBox = box.has_value();
    }
    std::optional<std::string> ClipboardText() const override { return clip; }
    bool ClipboardHasBoxFormat() const override { return clipBox; }
    bool HasFocus() const override { return focus; }

    int width = 800;   // 95 visible columns with the default margins
    int height = 400;  // 24 visible rows
    int charWidth = 8;
    int fontHeight = 16;
    bool focus = true;
    int caretX = -1, caretY = -1, caretW = 0, caretH = 0;
    int scrolledX = 0, scrolledY = 0;
    std::optional<std::string> clip;
    bool clipBox = false;
};
