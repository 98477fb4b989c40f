#pragma once
#include "editor/core/TEditorProp.h"

// Gives every published property of a property set a value other than its
// built-in one. ExpectSample (TEditorPropTest.cpp) checks them all.
inline void FillSample(TEditorProp& p)
{
    p.SetColor(0x00102030);

    TEditorCaret& c = p.Caret();
    c.SetAutoCursor(false);
    c.SetAutoIndent(false);
    c.SetBackSpaceUnIndent(false);
    c.SetFreeCaret(false);
    c.SetFreeRow(true);
    c.SetInTab(true);
    c.SetKeepCaret(true);
    c.SetLockScroll(true);
    c.SetNextLine(true);
    c.SetPrevSpaceIndent(true);
    c.SetRowSelect(false);
    c.SetSelDragMode(dmManual);
    c.SetSelMove(false);
    c.SetSoftTab(true);
    c.SetStyle(csBrief);
    c.SetTabIndent(true);
    c.SetTabSpaceCount(4);

    p.Font().Name = "\x82\x6c\x82\x72 Gothic";  // Shift-JIS bytes
    p.Font().Height = -15;
    p.Font().Color = clNavy;
    p.Font().Style = fsBold | fsStrikeOut;

    p.SetHitStyle(hsCaret);

    p.Imagebar().SetVisible(false);
    p.Imagebar().SetLeftMargin(3);
    p.Imagebar().SetDigitWidth(9);
    p.Imagebar().SetMarkWidth(10);
    p.Imagebar().SetRightMargin(4);

    TEditorLeftbar& l = p.Leftbar();
    l.SetVisible(true);
    l.SetBkColor(clTeal);
    l.SetColor(clWhite);
    l.SetColumn(6);
    l.SetEdge(false);
    l.SetLeftMargin(5);
    l.SetRightMargin(7);
    l.SetShowNumber(false);
    l.SetShowNumberMode(nmLine);
    l.SetZeroBase(true);
    l.SetZeroLead(true);

    p.Margin().SetCharacter(1);
    p.Margin().SetLeft(11);
    p.Margin().SetLine(3);
    p.Margin().SetTop(5);

    TEditorMark* marks[] = {&p.Marks().EofMark, &p.Marks().RetMark, &p.Marks().WrapMark, &p.Marks().HideMark,
                            &p.Marks().Underline};
    for (int i = 0; i < 5; ++i) {
        marks[i]->SetColor(0x000100 * static_cast<TColor>(i + 1));
        marks[i]->SetVisible(true);
    }

    p.ReserveWordList().Assign({"while", "Begin", "end", "BEGIN", "\x83\x41"});

    p.Ruler().SetVisible(true);
    p.Ruler().SetBkColor(clPurple);
    p.Ruler().SetColor(clRed);
    p.Ruler().SetMarkColor(clWhite);
    p.Ruler().SetEdge(false);
    p.Ruler().SetGaugeRange(8);

    p.SetScrollBars(ssBoth);

    p.Speed().SetCaretVerticalAc(3);
    p.Speed().SetPageVerticalRange(4);
    p.Speed().SetPageVerticalRangeAc(1);
    p.Speed().SetInitBracketsFull(true);

    TEditorViewInfo& v = p.View();
    v.Brackets().Add("{", "}", TFountainColor(clNone, clRed, fsItalic));
    v.Brackets().Add("\\begin", "\\end", TFountainColor(clSilver, clNavy));
    v.Brackets().Add("(*", "", TFountainColor(0x0A0B0C, clNone, fsUnderline));
    for (int i = 0; i < TEditorColors::ColorCount; ++i)
        v.Colors().Item(i).Assign(TFountainColor(0x110000 + static_cast<TColor>(i), 0x000011 * static_cast<TColor>(i + 1),
                                                 static_cast<TFontStyles>(i % 16)));
    v.SetCommenter("%");
    v.SetControlCode(true);
    v.SetHexPrefix("0x");
    v.SetMail(true);
    v.SetQuotation("\"");
    v.SetUrl(true);

    p.SetWordWrap(true);
    TEditorWrapOption& w = p.WrapOption();
    w.SetWrapByte(72);
    w.SetWordBreak(true);
    w.SetFollowPunctuation(true);
    w.SetPunctuationStr(",.");
    w.SetLeading(true);
    w.SetLeadStr("([");
    w.SetFollowStr(")]");
    w.SetFollowRetMark(true);

    p.FileExtList().Assign({".tex", ".sty", ".TEX", ".bib"});
}
