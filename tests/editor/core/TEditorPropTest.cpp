#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "EditorUnderTest.h"
#include "FakeEditor.h"
#include "PropertySetSample.h"
#include "editor/core/TEditorProp.h"

namespace {

// Every value FillSample gives. withFileExts: whether FileExtList belongs to
// the copy (an editor has none).
void ExpectSample(const TEditorProp& p, bool withFileExts = true)
{
    EXPECT_EQ(p.Color(), 0x00102030u);

    const TEditorCaret& c = p.Caret();
    EXPECT_FALSE(c.AutoCursor());
    EXPECT_FALSE(c.AutoIndent());
    EXPECT_FALSE(c.BackSpaceUnIndent());
    EXPECT_FALSE(c.FreeCaret());
    EXPECT_TRUE(c.FreeRow());
    EXPECT_TRUE(c.InTab());
    EXPECT_TRUE(c.KeepCaret());
    EXPECT_TRUE(c.LockScroll());
    EXPECT_TRUE(c.NextLine());
    EXPECT_TRUE(c.PrevSpaceIndent());
    EXPECT_FALSE(c.RowSelect());
    EXPECT_EQ(c.SelDragMode(), dmManual);
    EXPECT_FALSE(c.SelMove());
    EXPECT_TRUE(c.SoftTab());
    EXPECT_EQ(c.Style(), csBrief);
    EXPECT_TRUE(c.TabIndent());
    EXPECT_EQ(c.TabSpaceCount(), 4);

    EXPECT_EQ(p.Font().Name, "\x82\x6c\x82\x72 Gothic");
    EXPECT_EQ(p.Font().Height, -15);
    EXPECT_EQ(p.Font().Color, clNavy);
    EXPECT_EQ(p.Font().Style, fsBold | fsStrikeOut);

    EXPECT_EQ(p.HitStyle(), hsCaret);

    EXPECT_FALSE(p.Imagebar().Visible());
    EXPECT_EQ(p.Imagebar().LeftMargin(), 3);
    EXPECT_EQ(p.Imagebar().DigitWidth(), 9);
    EXPECT_EQ(p.Imagebar().MarkWidth(), 10);
    EXPECT_EQ(p.Imagebar().RightMargin(), 4);

    const TEditorLeftbar& l = p.Leftbar();
    EXPECT_TRUE(l.Visible());
    EXPECT_EQ(l.BkColor(), clTeal);
    EXPECT_EQ(l.Color(), clWhite);
    EXPECT_EQ(l.Column(), 6);
    EXPECT_FALSE(l.Edge());
    EXPECT_EQ(l.LeftMargin(), 5);
    EXPECT_EQ(l.RightMargin(), 7);
    EXPECT_FALSE(l.ShowNumber());
    EXPECT_EQ(l.ShowNumberMode(), nmLine);
    EXPECT_TRUE(l.ZeroBase());
    EXPECT_TRUE(l.ZeroLead());

    EXPECT_EQ(p.Margin().Character(), 1);
    EXPECT_EQ(p.Margin().Left(), 11);
    EXPECT_EQ(p.Margin().Line(), 3);
    EXPECT_EQ(p.Margin().Top(), 5);

    const TEditorMark* marks[] = {&p.Marks().EofMark, &p.Marks().RetMark, &p.Marks().WrapMark,
                                  &p.Marks().HideMark, &p.Marks().Underline};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(marks[i]->Color(), 0x000100 * static_cast<TColor>(i + 1)) << "mark " << i;
        EXPECT_TRUE(marks[i]->Visible()) << "mark " << i;
    }

    EXPECT_EQ(p.ReserveWordList().Words(), (std::vector<std::string>{"Begin", "end", "while", "\x83\x41"}));

    EXPECT_TRUE(p.Ruler().Visible());
    EXPECT_EQ(p.Ruler().BkColor(), clPurple);
    EXPECT_EQ(p.Ruler().Color(), clRed);
    EXPECT_EQ(p.Ruler().MarkColor(), clWhite);
    EXPECT_FALSE(p.Ruler().Edge());
    EXPECT_EQ(p.Ruler().GaugeRange(), 8);

    EXPECT_EQ(p.ScrollBars(), ssBoth);

    EXPECT_EQ(p.Speed().CaretVerticalAc(), 3);
    EXPECT_EQ(p.Speed().PageVerticalRange(), 4);
    EXPECT_EQ(p.Speed().PageVerticalRangeAc(), 1);
    EXPECT_TRUE(p.Speed().InitBracketsFull());

    const TEditorViewInfo& v = p.View();
    ASSERT_EQ(v.Brackets().Count(), 3);
    EXPECT_EQ(v.Brackets()[0].LeftBracket(), "{");
    EXPECT_EQ(v.Brackets()[0].RightBracket(), "}");
    EXPECT_EQ(v.Brackets()[0].ItemColor, TFountainColor(clNone, clRed, fsItalic));
    EXPECT_EQ(v.Brackets()[1].LeftBracket(), "\\begin");
    EXPECT_EQ(v.Brackets()[1].RightBracket(), "\\end");
    EXPECT_EQ(v.Brackets()[1].ItemColor, TFountainColor(clSilver, clNavy));
    EXPECT_EQ(v.Brackets()[2].LeftBracket(), "(*");
    EXPECT_EQ(v.Brackets()[2].RightBracket(), "");
    EXPECT_EQ(v.Brackets()[2].ItemColor, TFountainColor(0x0A0B0C, clNone, fsUnderline));
    for (int i = 0; i < TEditorColors::ColorCount; ++i)
        EXPECT_EQ(v.Colors().Item(i), TFountainColor(0x110000 + static_cast<TColor>(i), 0x000011 * static_cast<TColor>(i + 1),
                                                     static_cast<TFontStyles>(i % 16)))
            << "colour " << i;
    EXPECT_EQ(v.Commenter(), "%");
    EXPECT_TRUE(v.ControlCode());
    EXPECT_EQ(v.HexPrefix(), "0x");
    EXPECT_TRUE(v.Mail());
    EXPECT_EQ(v.Quotation(), "\"");
    EXPECT_TRUE(v.Url());

    EXPECT_TRUE(p.WordWrap());
    const TEditorWrapOption& w = p.WrapOption();
    EXPECT_EQ(w.WrapByte(), 72);
    EXPECT_TRUE(w.WordBreak());
    EXPECT_TRUE(w.FollowPunctuation());
    EXPECT_EQ(w.PunctuationStr(), ",.");
    EXPECT_TRUE(w.Leading());
    EXPECT_EQ(w.LeadStr(), "([");
    EXPECT_EQ(w.FollowStr(), ")]");
    EXPECT_TRUE(w.FollowRetMark());

    if (withFileExts)
        EXPECT_EQ(p.FileExtList().Items(), (std::vector<std::string>{".bib", ".sty", ".tex"}));
    else
        EXPECT_EQ(p.FileExtList().Count(), 0);
}

std::string LongLine(int length)
{
    std::string s;
    for (int i = 0; i < length; ++i)
        s += static_cast<char>('a' + i % 26);
    return s;
}

}  // namespace

TEST(TEditorProp, WrittenAndReadBackOnAFreshSetReproducesEveryProperty)
{
    TEditorProp source;
    FillSample(source);
    TEditorProp copy;
    copy.ReadFromBytes(source.WriteToBytes());
    ExpectSample(copy);
    EXPECT_EQ(copy.WriteToBytes(), source.WriteToBytes());
}

TEST(TEditorProp, CopiesBetweenSetsAndThroughAnEditorKeepEveryProperty)
{
    TEditorProp source;
    FillSample(source);

    TEditorProp copy;
    copy.Assign(source);
    ExpectSample(copy);
    TEditorProp target;
    source.AssignTo(target);
    ExpectSample(target);

    // An editor has every property but the file extensions.
    Editor e("first line\r\nsecond line");
    source.AssignTo(e.ed);
    TEditorProp back;
    back.Assign(e.ed);
    ExpectSample(back, false);
}

TEST(TEditorProp, BuiltInValuesAreANewEditorsButColourAndFont)
{
    // Only the properties that differ from the built-in values are written,
    // so a set copied from a new editor writes exactly the differences.
    Editor e;
    TEditorProp fromEditor;
    fromEditor.Assign(e.ed);
    EXPECT_EQ(fromEditor.Color(), clWhite);
    EXPECT_EQ(fromEditor.Font().Height, -16);

    TEditorProp probe;
    probe.ReadFromBytes(fromEditor.WriteToBytes());
    EXPECT_EQ(probe.Color(), clWhite);
    EXPECT_EQ(probe.Font(), e.ed.Font());

    TEditorProp builtIn;
    EXPECT_EQ(builtIn.Color(), clWindow);
    EXPECT_EQ(builtIn.Font().Name, "FixedSys");
    EXPECT_EQ(builtIn.Font().Height, -12);
    EXPECT_EQ(builtIn.Font().Color, clWindowText);
    EXPECT_EQ(builtIn.WriteToBytes().size(), 6u) << "a set of built-in values is only the header";

    // Nothing but Color and Font told the two apart: giving the built-in
    // set the editor's colour and font makes the same bytes.
    builtIn.SetColor(e.ed.Color());
    builtIn.SetFont(e.ed.Font());
    EXPECT_EQ(builtIn.WriteToBytes(), fromEditor.WriteToBytes());
}

TEST(TEditorProp, AssignToAnEditorRewrapsTheDocumentOnce)
{
    const std::string line = LongLine(45);

    // Wrap on in both, another width: the new width, one re-wrap.
    {
        Editor e(line);
        e.Wrap(20);
        FakeEditor watcher(e.ed.Store());
        TEditorProp p;
        p.SetWordWrap(true);
        p.WrapOption().SetWrapByte(10);
        p.AssignTo(e.ed);
        EXPECT_EQ(watcher.rewraps, 1);
        EXPECT_EQ(e.ed.RowCount(), 5);
        EXPECT_EQ(e.ed.RowText(0), line.substr(0, 10));
        EXPECT_EQ(e.Text(), line);
    }
    // Wrap off in the editor: the options arrive before wrap is switched on.
    {
        Editor e(line);
        FakeEditor watcher(e.ed.Store());
        TEditorProp p;
        p.SetWordWrap(true);
        p.WrapOption().SetWrapByte(16);
        p.AssignTo(e.ed);
        EXPECT_EQ(watcher.rewraps, 1);
        EXPECT_EQ(e.ed.RowCount(), 3);
    }
    // Wrap off in the set: wrap goes off first, the width follows quietly.
    {
        Editor e(line);
        e.Wrap(20);
        FakeEditor watcher(e.ed.Store());
        TEditorProp p;
        p.WrapOption().SetWrapByte(10);
        p.AssignTo(e.ed);
        EXPECT_EQ(watcher.rewraps, 1);
        EXPECT_FALSE(e.ed.WordWrap());
        EXPECT_EQ(e.ed.WrapOption().WrapByte(), 10);
        EXPECT_EQ(e.ed.RowCount(), 1);
    }
    // Nothing about wrapping differs: no re-wrap at all.
    {
        Editor e(line);
        e.Wrap(20);
        FakeEditor watcher(e.ed.Store());
        TEditorProp p;
        p.Assign(e.ed);
        p.SetColor(clRed);
        p.AssignTo(e.ed);
        EXPECT_EQ(watcher.rewraps, 0);
        EXPECT_EQ(e.ed.Color(), clRed);
    }
}

TEST(TEditorProp, ACopyThatFailsStopsQuietlyKeepingWhatWasCopied)
{
    TEditorProp source;
    FillSample(source);

    // Into a set: the caret, second in order, refuses.
    TEditorProp target;
    target.Caret().OnChange = [] { throw std::runtime_error("caret refused"); };
    EXPECT_NO_THROW(target.Assign(source));
    EXPECT_EQ(target.Color(), source.Color());
    EXPECT_EQ(target.HitStyle(), hsSelect);
    EXPECT_EQ(target.Font().Height, -12);

    // Into an editor: the font, third in order, refuses after it was set.
    Editor e;
    int appearanceChanges = 0;
    e.ed.OnAppearanceChange = [&] {
        if (++appearanceChanges == 2)
            throw std::runtime_error("font refused");
    };
    EXPECT_NO_THROW(source.AssignTo(e.ed));
    EXPECT_EQ(e.ed.Color(), source.Color());
    EXPECT_EQ(e.ed.Caret().TabSpaceCount(), 4);
    EXPECT_EQ(e.ed.Font(), source.Font());
    EXPECT_EQ(e.ed.HitStyle(), hsSelect);
    EXPECT_FALSE(e.ed.WordWrap());
}

TEST(TEditorProp, OptionObjectsAssignWithOneNotification)
{
    TEditorProp a;
    TEditorProp b;
    FillSample(b);
    int changes = 0;
    auto count = [&] { ++changes; };
    a.Imagebar().OnChange = count;
    a.Leftbar().OnChange = count;
    a.Margin().OnChange = count;
    a.Marks().OnChange = count;
    a.Ruler().OnChange = count;
    a.SetImagebar(b.Imagebar());
    a.SetLeftbar(b.Leftbar());
    a.SetMargin(b.Margin());
    a.SetMarks(b.Marks());
    a.SetRuler(b.Ruler());
    EXPECT_EQ(changes, 5);
    // The same values again: nothing changes, nobody is told.
    a.SetImagebar(b.Imagebar());
    a.SetLeftbar(b.Leftbar());
    a.SetMargin(b.Margin());
    a.SetMarks(b.Marks());
    a.SetRuler(b.Ruler());
    EXPECT_EQ(changes, 5);
    // Marks still report a change of a single mark after an Assign.
    a.Marks().HideMark.SetVisible(false);
    EXPECT_EQ(changes, 6);
}
