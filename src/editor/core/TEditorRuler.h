#pragma once
#include <tuple>

#include "editor/core/TChangeNotifier.h"
#include "editor/core/TColor.h"

// The column ruler above the text.
class TEditorRuler : public TChangeNotifier {
public:
    bool Visible() const { return visible_; }
    TColor BkColor() const { return bkColor_; }
    TColor Color() const { return color_; }          // of the numbers
    TColor MarkColor() const { return markColor_; }  // behind the caret column's mark
    bool Edge() const { return edge_; }
    int GaugeRange() const { return gaugeRange_; }

    void SetVisible(bool v) { Set(visible_, v); }
    void SetBkColor(TColor v) { Set(bkColor_, v); }
    void SetColor(TColor v) { Set(color_, v); }
    void SetMarkColor(TColor v) { Set(markColor_, v); }
    void SetEdge(bool v) { Set(edge_, v); }
    void SetGaugeRange(int v) { Set(gaugeRange_, v); }

    // Pixels it takes: 0 when hidden, one more for the edge.
    int Height() const { return visible_ ? (edge_ ? 11 : 10) : 0; }

    // Copies every property, notifying once when anything changed.
    void Assign(const TEditorRuler& source);

private:
    auto Fields() { return std::tie(visible_, bkColor_, color_, markColor_, edge_, gaugeRange_); }
    auto Fields() const { return std::tie(visible_, bkColor_, color_, markColor_, edge_, gaugeRange_); }

    bool visible_ = false;
    TColor bkColor_ = clSilver;
    TColor color_ = clBlack;
    TColor markColor_ = clBlack;
    bool edge_ = true;
    int gaugeRange_ = 10;
};

inline void TEditorRuler::Assign(const TEditorRuler& source)
{
    if (Fields() == source.Fields())
        return;
    Fields() = source.Fields();
    Changed();
}
