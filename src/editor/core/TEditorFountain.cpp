#include "editor/core/TEditorFountain.h"

#include "editor/core/TEditorParser.h"

TEditorFountain::TEditorFountain() : TFountain(std::make_unique<TEditorBracketCollection>())
{
    colors_.OnChange = [this] { Changed(); };
}

TEditorFountain::~TEditorFountain() { colors_.OnChange = nullptr; }

template <class F>
void TEditorFountain::ForEachPlainColor(F f)
{
    BeginUpdate();
    for (int i = 0; i < TEditorColors::ColorCount; ++i) {
        TEditorColor& c = colors_.Item(i);
        if (&c != &colors_.Select && &c != &colors_.Hit)
            f(c);
    }
    EndUpdate();
}

void TEditorFountain::SetAllBkColor(TColor value)
{
    ForEachPlainColor([value](TEditorColor& c) { c.SetBkColor(value); });
}

void TEditorFountain::SetAllColor(TColor value)
{
    ForEachPlainColor([value](TEditorColor& c) { c.SetColor(value); });
}

void TEditorFountain::SetAllStyle(TFontStyles value)
{
    ForEachPlainColor([value](TEditorColor& c) { c.SetStyle(value); });
}

void TEditorFountain::Assign(const TFountain& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    TFountain::Assign(source);
    if (const auto* editor = dynamic_cast<const TEditorFountain*>(&source)) {
        colors_.Assign(editor->colors_);
        SetCommenter(editor->commenter_);
        SetControlCode(editor->controlCode_);
        SetHexPrefix(editor->hexPrefix_);
        SetMail(editor->mail_);
        SetQuotation(editor->quotation_);
        SetUrl(editor->url_);
    }
    EndUpdate();
}

std::unique_ptr<TFountainParser> TEditorFountain::CreateParser() const
{
    return std::make_unique<TEditorParser>(this);
}

bool TEditorFountain::HasItalicStyle() const { return colors_.HasItalicStyle() || TFountain::HasItalicStyle(); }
