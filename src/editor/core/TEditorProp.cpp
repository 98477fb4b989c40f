#include "editor/core/TEditorProp.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "editor/core/TPropertyReader.h"
#include "editor/core/TPropertyWriter.h"

namespace {

// Pixel sizes and counts read back are brought into ranges that keep the
// layout arithmetic small.
constexpr int32_t MaxPixels = 1000;
constexpr int32_t MaxTabSpaceCount = 255;
constexpr int32_t MaxWrapByte = 10000;
constexpr int32_t LastFontStyles = fsBold | fsItalic | fsUnderline | fsStrikeOut;

constexpr const char* ColorNames[TEditorColors::ColorCount] = {
    "Ank", "Comment", "DBCS", "Hit", "Int", "Mail", "Reserve", "Select", "Str", "Symbol", "Url",
};

// The published properties, each with its name, its getter and setter, and
// for numbers the range or the last ordinal. A visitor writes them or sets
// the one the reader is on; `Object` is const for writing.

template <class V, class C>
void PublishColor(V& v, const std::string& prefix, C& color)
{
    v.Color(prefix + ".BkColor", color, &TFountainColor::BkColor, &TFountainColor::SetBkColor);
    v.Color(prefix + ".Color", color, &TFountainColor::Color, &TFountainColor::SetColor);
    v.Ordinal(prefix + ".Style", color, &TFountainColor::Style, &TFountainColor::SetStyle, LastFontStyles);
}

template <class V, class I>
void PublishBracket(V& v, I& item)
{
    v.String("LeftBracket", item, &TFountainBracketItem::LeftBracket, &TFountainBracketItem::SetLeftBracket);
    v.String("RightBracket", item, &TFountainBracketItem::RightBracket, &TFountainBracketItem::SetRightBracket);
    PublishColor(v, "ItemColor", item.ItemColor);
}

template <class V, class P>
void Publish(V& v, P& p)
{
    v.Color("Color", p, &TEditorProp::Color, &TEditorProp::SetColor);

    auto& caret = p.Caret();
    using Caret = TEditorCaret;
    v.Boolean("Caret.AutoCursor", caret, &Caret::AutoCursor, &Caret::SetAutoCursor);
    v.Boolean("Caret.AutoIndent", caret, &Caret::AutoIndent, &Caret::SetAutoIndent);
    v.Boolean("Caret.BackSpaceUnIndent", caret, &Caret::BackSpaceUnIndent, &Caret::SetBackSpaceUnIndent);
    v.Boolean("Caret.FreeCaret", caret, &Caret::FreeCaret, &Caret::SetFreeCaret);
    v.Boolean("Caret.FreeRow", caret, &Caret::FreeRow, &Caret::SetFreeRow);
    v.Boolean("Caret.InTab", caret, &Caret::InTab, &Caret::SetInTab);
    v.Boolean("Caret.KeepCaret", caret, &Caret::KeepCaret, &Caret::SetKeepCaret);
    v.Boolean("Caret.LockScroll", caret, &Caret::LockScroll, &Caret::SetLockScroll);
    v.Boolean("Caret.NextLine", caret, &Caret::NextLine, &Caret::SetNextLine);
    v.Boolean("Caret.PrevSpaceIndent", caret, &Caret::PrevSpaceIndent, &Caret::SetPrevSpaceIndent);
    v.Boolean("Caret.RowSelect", caret, &Caret::RowSelect, &Caret::SetRowSelect);
    v.Ordinal("Caret.SelDragMode", caret, &Caret::SelDragMode, &Caret::SetSelDragMode, dmAutomatic);
    v.Boolean("Caret.SelMove", caret, &Caret::SelMove, &Caret::SetSelMove);
    v.Boolean("Caret.SoftTab", caret, &Caret::SoftTab, &Caret::SetSoftTab);
    v.Ordinal("Caret.Style", caret, &Caret::Style, &Caret::SetStyle, csBrief);
    v.Boolean("Caret.TabIndent", caret, &Caret::TabIndent, &Caret::SetTabIndent);
    v.Integer("Caret.TabSpaceCount", caret, &Caret::TabSpaceCount, &Caret::SetTabSpaceCount, 1, MaxTabSpaceCount);

    auto& font = p.Font();
    v.String("Font.Name", font, &TEditorFont::Name, [](TEditorFont& f, const std::string& s) { f.Name = s; });
    v.Integer("Font.Height", font, &TEditorFont::Height, [](TEditorFont& f, int h) { f.Height = h; }, -MaxPixels,
              MaxPixels);
    v.Color("Font.Color", font, &TEditorFont::Color, [](TEditorFont& f, TColor c) { f.Color = c; });
    v.Ordinal("Font.Style", font, &TEditorFont::Style, [](TEditorFont& f, TFontStyles s) { f.Style = s; },
              LastFontStyles);

    v.Ordinal("HitStyle", p, &TEditorProp::HitStyle, &TEditorProp::SetHitStyle, hsCaret);

    auto& imagebar = p.Imagebar();
    using Imagebar = TEditorImagebar;
    v.Boolean("Imagebar.Visible", imagebar, &Imagebar::Visible, &Imagebar::SetVisible);
    v.Integer("Imagebar.LeftMargin", imagebar, &Imagebar::LeftMargin, &Imagebar::SetLeftMargin, 0, MaxPixels);
    v.Integer("Imagebar.DigitWidth", imagebar, &Imagebar::DigitWidth, &Imagebar::SetDigitWidth, 0, MaxPixels);
    v.Integer("Imagebar.MarkWidth", imagebar, &Imagebar::MarkWidth, &Imagebar::SetMarkWidth, 0, MaxPixels);
    v.Integer("Imagebar.RightMargin", imagebar, &Imagebar::RightMargin, &Imagebar::SetRightMargin, 0, MaxPixels);

    auto& leftbar = p.Leftbar();
    using Leftbar = TEditorLeftbar;
    v.Boolean("Leftbar.Visible", leftbar, &Leftbar::Visible, &Leftbar::SetVisible);
    v.Color("Leftbar.BkColor", leftbar, &Leftbar::BkColor, &Leftbar::SetBkColor);
    v.Color("Leftbar.Color", leftbar, &Leftbar::Color, &Leftbar::SetColor);
    v.Integer("Leftbar.Column", leftbar, &Leftbar::Column, &Leftbar::SetColumn, 0, 100);
    v.Boolean("Leftbar.Edge", leftbar, &Leftbar::Edge, &Leftbar::SetEdge);
    v.Integer("Leftbar.LeftMargin", leftbar, &Leftbar::LeftMargin, &Leftbar::SetLeftMargin, 0, MaxPixels);
    v.Integer("Leftbar.RightMargin", leftbar, &Leftbar::RightMargin, &Leftbar::SetRightMargin, 0, MaxPixels);
    v.Boolean("Leftbar.ShowNumber", leftbar, &Leftbar::ShowNumber, &Leftbar::SetShowNumber);
    v.Ordinal("Leftbar.ShowNumberMode", leftbar, &Leftbar::ShowNumberMode, &Leftbar::SetShowNumberMode, nmLine);
    v.Boolean("Leftbar.ZeroBase", leftbar, &Leftbar::ZeroBase, &Leftbar::SetZeroBase);
    v.Boolean("Leftbar.ZeroLead", leftbar, &Leftbar::ZeroLead, &Leftbar::SetZeroLead);

    auto& margin = p.Margin();
    using Margin = TEditorMargin;
    v.Integer("Margin.Character", margin, &Margin::Character, &Margin::SetCharacter, 0, MaxPixels);
    v.Integer("Margin.Left", margin, &Margin::Left, &Margin::SetLeft, 0, MaxPixels);
    v.Integer("Margin.Line", margin, &Margin::Line, &Margin::SetLine, 0, MaxPixels);
    v.Integer("Margin.Top", margin, &Margin::Top, &Margin::SetTop, 0, MaxPixels);

    auto& marks = p.Marks();
    auto mark = [&v](const char* name, auto& m) {
        const std::string prefix = std::string("Marks.") + name;
        v.Color(prefix + ".Color", m, &TEditorMark::Color, &TEditorMark::SetColor);
        v.Boolean(prefix + ".Visible", m, &TEditorMark::Visible, &TEditorMark::SetVisible);
    };
    mark("EofMark", marks.EofMark);
    mark("RetMark", marks.RetMark);
    mark("WrapMark", marks.WrapMark);
    mark("HideMark", marks.HideMark);
    mark("Underline", marks.Underline);

    v.Words("ReserveWordList", p.ReserveWordList());

    auto& ruler = p.Ruler();
    using Ruler = TEditorRuler;
    v.Boolean("Ruler.Visible", ruler, &Ruler::Visible, &Ruler::SetVisible);
    v.Color("Ruler.BkColor", ruler, &Ruler::BkColor, &Ruler::SetBkColor);
    v.Color("Ruler.Color", ruler, &Ruler::Color, &Ruler::SetColor);
    v.Color("Ruler.MarkColor", ruler, &Ruler::MarkColor, &Ruler::SetMarkColor);
    v.Boolean("Ruler.Edge", ruler, &Ruler::Edge, &Ruler::SetEdge);
    v.Integer("Ruler.GaugeRange", ruler, &Ruler::GaugeRange, &Ruler::SetGaugeRange, 1, 100);

    v.Ordinal("ScrollBars", p, &TEditorProp::ScrollBars, &TEditorProp::SetScrollBars, ssBoth);

    auto& speed = p.Speed();
    using Speed = TEditorSpeed;
    v.Integer("Speed.CaretVerticalAc", speed, &Speed::CaretVerticalAc, &Speed::SetCaretVerticalAc, 1, 4);
    v.Integer("Speed.PageVerticalRange", speed, &Speed::PageVerticalRange, &Speed::SetPageVerticalRange, 1, 4);
    v.Integer("Speed.PageVerticalRangeAc", speed, &Speed::PageVerticalRangeAc, &Speed::SetPageVerticalRangeAc, 1,
              4);
    v.Boolean("Speed.InitBracketsFull", speed, &Speed::InitBracketsFull, &Speed::SetInitBracketsFull);

    auto& view = p.View();
    using View = TEditorViewInfo;
    v.Brackets("View.Brackets", view.Brackets());
    for (int i = 0; i < TEditorColors::ColorCount; ++i)
        PublishColor(v, std::string("View.Colors.") + ColorNames[i], view.Colors().Item(i));
    v.String("View.Commenter", view, &View::Commenter, &View::SetCommenter);
    v.Boolean("View.ControlCode", view, &View::ControlCode, &View::SetControlCode);
    v.String("View.HexPrefix", view, &View::HexPrefix, &View::SetHexPrefix);
    v.Boolean("View.Mail", view, &View::Mail, &View::SetMail);
    v.String("View.Quotation", view, &View::Quotation, &View::SetQuotation);
    v.Boolean("View.Url", view, &View::Url, &View::SetUrl);

    v.Boolean("WordWrap", p, &TEditorProp::WordWrap, &TEditorProp::SetWordWrap);

    auto& wrap = p.WrapOption();
    using Wrap = TEditorWrapOption;
    v.Integer("WrapOption.WrapByte", wrap, &Wrap::WrapByte, &Wrap::SetWrapByte, 2, MaxWrapByte);
    v.Boolean("WrapOption.WordBreak", wrap, &Wrap::WordBreak, &Wrap::SetWordBreak);
    v.Boolean("WrapOption.FollowPunctuation", wrap, &Wrap::FollowPunctuation, &Wrap::SetFollowPunctuation);
    v.String("WrapOption.PunctuationStr", wrap, &Wrap::PunctuationStr, &Wrap::SetPunctuationStr);
    v.Boolean("WrapOption.Leading", wrap, &Wrap::Leading, &Wrap::SetLeading);
    v.String("WrapOption.LeadStr", wrap, &Wrap::LeadStr, &Wrap::SetLeadStr);
    v.String("WrapOption.FollowStr", wrap, &Wrap::FollowStr, &Wrap::SetFollowStr);
    v.Boolean("WrapOption.FollowRetMark", wrap, &Wrap::FollowRetMark, &Wrap::SetFollowRetMark);
}

// Writes every property it visits, whatever its value.
class WriteVisitor {
public:
    explicit WriteVisitor(TPropertyWriter& writer) : w_(writer) {}

    template <class O, class G, class S>
    void Boolean(std::string_view name, O& object, G get, S)
    {
        w_.WriteBoolean(name, std::invoke(get, object));
    }
    template <class O, class G, class S>
    void Integer(std::string_view name, O& object, G get, S, int32_t, int32_t)
    {
        w_.WriteInteger(name, std::invoke(get, object));
    }
    template <class O, class G, class S>
    void Ordinal(std::string_view name, O& object, G get, S, int32_t)
    {
        w_.WriteInteger(name, static_cast<int32_t>(std::invoke(get, object)));
    }
    template <class O, class G, class S>
    void Color(std::string_view name, O& object, G get, S)
    {
        w_.WriteColor(name, std::invoke(get, object));
    }
    template <class O, class G, class S>
    void String(std::string_view name, O& object, G get, S)
    {
        w_.WriteString(name, std::invoke(get, object));
    }
    void Words(std::string_view name, const TReserveWordList& words) { w_.WriteStrings(name, words.Words()); }
    void Brackets(std::string_view name, const TEditorBracketCollection& brackets)
    {
        std::vector<TPropertyWriter> items(static_cast<std::size_t>(brackets.Count()));
        for (int i = 0; i < brackets.Count(); ++i) {
            WriteVisitor item(items[static_cast<std::size_t>(i)]);
            PublishBracket(item, brackets.Items(i));
        }
        w_.WriteCollection(name, items);
    }

private:
    TPropertyWriter& w_;
};

// Sets the one property the reader is on, if it visits it.
class ReadVisitor {
public:
    explicit ReadVisitor(const TPropertyReader& reader) : r_(reader) {}
    bool Matched() const { return matched_; }

    template <class O, class G, class S>
    void Boolean(std::string_view name, O& object, G, S set)
    {
        if (Is(name))
            std::invoke(set, object, r_.ReadBoolean());
    }
    template <class O, class G, class S>
    void Integer(std::string_view name, O& object, G, S set, int32_t min, int32_t max)
    {
        if (Is(name))
            std::invoke(set, object, r_.ReadInteger(min, max));
    }
    template <class O, class G, class S>
    void Ordinal(std::string_view name, O& object, G, S set, int32_t last)
    {
        using Value = std::decay_t<std::invoke_result_t<G, O&>>;
        if (Is(name))
            std::invoke(set, object, static_cast<Value>(r_.ReadOrdinal(last)));
    }
    template <class O, class G, class S>
    void Color(std::string_view name, O& object, G, S set)
    {
        if (Is(name))
            std::invoke(set, object, r_.ReadColor());
    }
    template <class O, class G, class S>
    void String(std::string_view name, O& object, G, S set)
    {
        if (Is(name))
            std::invoke(set, object, r_.ReadString());
    }
    void Words(std::string_view name, TReserveWordList& words)
    {
        if (Is(name))
            words.Assign(r_.ReadStrings());
    }
    void Brackets(std::string_view name, TEditorBracketCollection& brackets)
    {
        if (!Is(name))
            return;
        // Read whole before the collection changes: one notification.
        TEditorBracketCollection read;
        for (TPropertyReader& item : r_.ReadCollection(TFountainBracketCollection::MaxItems)) {
            TFountainBracketItem& added = read.Add();
            while (item.Next()) {
                ReadVisitor property(item);
                PublishBracket(property, added);
            }
        }
        brackets.Assign(read);
    }

private:
    bool Is(std::string_view name)
    {
        if (matched_ || name != r_.Name())
            return false;
        matched_ = true;
        return true;
    }

    const TPropertyReader& r_;
    bool matched_ = false;
};

const TEditorProp& BuiltIn()
{
    static const TEditorProp values;
    return values;
}

}  // namespace

TEditorProp::TEditorProp()
{
    font_.Height = -12;
    font_.Color = clWindowText;
}

void TEditorProp::WriteProperties(TPropertyWriter& writer) const
{
    TFileExtComponent::WriteProperties(writer);
    TPropertyWriter values;
    WriteVisitor valueVisitor(values);
    Publish(valueVisitor, *this);
    TPropertyWriter defaults;
    WriteVisitor defaultVisitor(defaults);
    Publish(defaultVisitor, BuiltIn());
    writer.WriteChanged(values, defaults);
}

bool TEditorProp::ReadProperty(const std::string& name, const TPropertyReader& reader)
{
    if (TFileExtComponent::ReadProperty(name, reader))
        return true;
    ReadVisitor visitor(reader);
    Publish(visitor, *this);
    return visitor.Matched();
}

void TEditorProp::Assign(const TEditorCore& source)
{
    try {
        SetColor(source.Color());
        caret_.Assign(source.Caret());
        SetFont(source.Font());
        SetHitStyle(source.HitStyle());
        imagebar_.Assign(source.Imagebar());
        leftbar_.Assign(source.Leftbar());
        margin_.Assign(source.Margin());
        marks_.Assign(source.Marks());
        ReserveWordList().Assign(source.View().ReserveWordList());
        ruler_.Assign(source.Ruler());
        SetScrollBars(source.ScrollBars());
        // The core hands Speed out through a non-const accessor only; it is
        // only read here.
        speed_.Assign(source.Speed());
        view_.Assign(source.View());
        SetWordWrap(source.WordWrap());
        wrapOption_.Assign(source.Store().WrapOption());
    } catch (const std::exception&) {
        // The copy stops here; see the header.
    }
}

void TEditorProp::Assign(const TEditorProp& source)
{
    if (&source == this)
        return;
    try {
        SetColor(source.color_);
        caret_.Assign(source.caret_);
        SetFont(source.font_);
        SetHitStyle(source.hitStyle_);
        imagebar_.Assign(source.imagebar_);
        leftbar_.Assign(source.leftbar_);
        margin_.Assign(source.margin_);
        marks_.Assign(source.marks_);
        ReserveWordList().Assign(source.ReserveWordList());
        ruler_.Assign(source.ruler_);
        SetScrollBars(source.scrollBars_);
        speed_.Assign(source.speed_);
        view_.Assign(source.view_);
        SetWordWrap(source.wordWrap_);
        wrapOption_.Assign(source.wrapOption_);
        SetFileExtList(source.FileExtList());
    } catch (const std::exception&) {
        // The copy stops here; see the header.
    }
}

void TEditorProp::AssignTo(TEditorCore& editor) const
{
    try {
        editor.SetColor(color_);
        editor.Caret().Assign(caret_);
        editor.SetFont(font_);
        editor.SetHitStyle(hitStyle_);
        editor.Imagebar().Assign(imagebar_);
        editor.Leftbar().Assign(leftbar_);
        editor.Margin().Assign(margin_);
        editor.Marks().Assign(marks_);
        // The word list and View each make the editor re-parse the whole
        // document; held together they do it once.
        TEditorFountain& fountain = editor.View().Fountain();
        fountain.BeginUpdate();
        try {
            editor.View().ReserveWordList().Assign(ReserveWordList());
            editor.Ruler().Assign(ruler_);
            editor.SetScrollBars(scrollBars_);
            editor.Speed().Assign(speed_);
            editor.View().Assign(view_);
        } catch (...) {
            fountain.EndUpdate();
            throw;
        }
        fountain.EndUpdate();
        if (wordWrap_) {
            editor.WrapOption().Assign(wrapOption_);
            editor.SetWordWrap(true);
        } else {
            editor.SetWordWrap(false);
            editor.WrapOption().Assign(wrapOption_);
        }
    } catch (const std::exception&) {
        // The copy stops here; see the header.
    }
}
