#pragma once
#include "editor/core/TChangeNotifier.h"
#include "editor/core/TColor.h"
#include "editor/core/TEditorCaret.h"
#include "editor/core/TEditorCore.h"
#include "editor/core/TEditorFont.h"
#include "editor/core/TEditorImagebar.h"
#include "editor/core/TEditorLeftbar.h"
#include "editor/core/TEditorMargin.h"
#include "editor/core/TEditorMarks.h"
#include "editor/core/TEditorRuler.h"
#include "editor/core/TEditorSpeed.h"
#include "editor/core/TEditorViewInfo.h"
#include "editor/core/TEditorWrapOption.h"
#include "editor/core/TFileExtComponent.h"
#include "editor/core/TReserveWordList.h"

// A complete set of editor options held apart from any editor: copied from
// an editor, kept and stored in the registry, and given to other editors.
// Each object property is an object of the class the editor uses, so that
// setting it copies its values. OnChange is called when Color, HitStyle,
// ScrollBars or WordWrap get a new value.
//
// The built-in values are a new editor's, except: Color clWindow, and Font
// "FixedSys", 12 pixels high, in clWindowText.
class TEditorProp : public TFileExtComponent, public TChangeNotifier {
public:
    TEditorProp();
    TEditorProp(const TEditorProp&) = delete;
    TEditorProp& operator=(const TEditorProp&) = delete;

    TColor Color() const { return color_; }
    void SetColor(TColor value) { Set(color_, value); }
    TEditorCaret& Caret() { return caret_; }
    const TEditorCaret& Caret() const { return caret_; }
    void SetCaret(const TEditorCaret& value) { caret_.Assign(value); }
    TEditorFont& Font() { return font_; }
    const TEditorFont& Font() const { return font_; }
    void SetFont(const TEditorFont& value) { font_ = value; }
    TEditorHitStyle HitStyle() const { return hitStyle_; }
    void SetHitStyle(TEditorHitStyle value) { Set(hitStyle_, value); }
    TEditorImagebar& Imagebar() { return imagebar_; }
    const TEditorImagebar& Imagebar() const { return imagebar_; }
    void SetImagebar(const TEditorImagebar& value) { imagebar_.Assign(value); }
    TEditorLeftbar& Leftbar() { return leftbar_; }
    const TEditorLeftbar& Leftbar() const { return leftbar_; }
    void SetLeftbar(const TEditorLeftbar& value) { leftbar_.Assign(value); }
    TEditorMargin& Margin() { return margin_; }
    const TEditorMargin& Margin() const { return margin_; }
    void SetMargin(const TEditorMargin& value) { margin_.Assign(value); }
    TEditorMarks& Marks() { return marks_; }
    const TEditorMarks& Marks() const { return marks_; }
    void SetMarks(const TEditorMarks& value) { marks_.Assign(value); }
    // The reserved words; the same list as View's, as in the editor.
    TReserveWordList& ReserveWordList() { return view_.ReserveWordList(); }
    const TReserveWordList& ReserveWordList() const { return view_.ReserveWordList(); }
    void SetReserveWordList(const TReserveWordList& value) { view_.ReserveWordList().Assign(value); }
    TEditorRuler& Ruler() { return ruler_; }
    const TEditorRuler& Ruler() const { return ruler_; }
    void SetRuler(const TEditorRuler& value) { ruler_.Assign(value); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value) { Set(scrollBars_, value); }
    TEditorSpeed& Speed() { return speed_; }
    const TEditorSpeed& Speed() const { return speed_; }
    void SetSpeed(const TEditorSpeed& value) { speed_.Assign(value); }
    TEditorViewInfo& View() { return view_; }
    const TEditorViewInfo& View() const { return view_; }
    void SetView(const TEditorViewInfo& value) { view_.Assign(value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { Set(wordWrap_, value); }
    TEditorWrapOption& WrapOption() { return wrapOption_; }
    const TEditorWrapOption& WrapOption() const { return wrapOption_; }
    void SetWrapOption(const TEditorWrapOption& value) { wrapOption_.Assign(value); }

    // Copy the editor's options, or another set's (FileExtList included), in
    // the order of the properties above. A copy that raises an exception
    // stops there without a word: what was copied keeps its new value.
    void Assign(const TEditorCore& source);
    void Assign(const TEditorProp& source);
    // Gives the editor these options, in the same order and the same way.
    // Wrapping goes last: the wrap options are copied before wrap is
    // switched on, and after it is switched off, so that the document is
    // re-wrapped at most once for both.
    void AssignTo(TEditorCore& editor) const;
    void AssignTo(TEditorProp& target) const { target.Assign(*this); }

protected:
    // Writes the properties that differ from the built-in values.
    void WriteProperties(TPropertyWriter& writer) const override;
    bool ReadProperty(const std::string& name, const TPropertyReader& reader) override;

private:
    TColor color_ = clWindow;
    TEditorCaret caret_;
    TEditorFont font_;
    TEditorHitStyle hitStyle_ = hsSelect;
    TEditorImagebar imagebar_;
    TEditorLeftbar leftbar_;
    TEditorMargin margin_;
    TEditorMarks marks_;
    TEditorRuler ruler_;
    TScrollStyle scrollBars_ = ssNone;
    TEditorSpeed speed_;
    TEditorViewInfo view_;
    bool wordWrap_ = false;
    TEditorWrapOption wrapOption_;
};
