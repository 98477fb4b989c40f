#pragma once
#include <algorithm>
#include <tuple>

#include "editor/core/TChangeNotifier.h"
#include "editor/core/TColor.h"

enum TEditorShowNumberMode { nmRow, nmLine };

// The line-number bar left of the text.
class TEditorLeftbar : public TChangeNotifier {
public:
    bool Visible() const { return visible_; }
    TColor BkColor() const { return bkColor_; }
    TColor Color() const { return color_; }  // of the numbers
    int Column() const { return column_; }  // minimum number of digits
    bool Edge() const { return edge_; }
    int LeftMargin() const { return leftMargin_; }
    int RightMargin() const { return rightMargin_; }
    bool ShowNumber() const { return showNumber_; }
    TEditorShowNumberMode ShowNumberMode() const { return showNumberMode_; }
    bool ZeroBase() const { return zeroBase_; }
    bool ZeroLead() const { return zeroLead_; }

    void SetVisible(bool v) { Set(visible_, v); }
    void SetBkColor(TColor v) { Set(bkColor_, v); }
    void SetColor(TColor v) { Set(color_, v); }
    void SetColumn(int v) { Set(column_, v); }
    void SetEdge(bool v) { Set(edge_, v); }
    void SetLeftMargin(int v) { Set(leftMargin_, v); }
    void SetRightMargin(int v) { Set(rightMargin_, v); }
    void SetShowNumber(bool v) { Set(showNumber_, v); }
    void SetShowNumberMode(TEditorShowNumberMode v) { Set(showNumberMode_, v); }
    void SetZeroBase(bool v) { Set(zeroBase_, v); }
    void SetZeroLead(bool v) { Set(zeroLead_, v); }

    // Number of digit columns shown. largestNumber is the number of the
    // last row or line as it is displayed.
    int NumberColumns(int largestNumber) const
    {
        if (!showNumber_)
            return column_;
        int digits = 1;
        for (int n = largestNumber; n >= 10; n /= 10)
            ++digits;
        return std::min(8, std::max(column_, digits));
    }
    // Pixels it takes: 0 when hidden.
    int Width(int numberColumns, int colWidth) const
    {
        return visible_ ? leftMargin_ + numberColumns * colWidth + rightMargin_ + 2 : 0;
    }

    // Copies every property, notifying once when anything changed.
    void Assign(const TEditorLeftbar& source);

private:
    auto Fields()
    {
        return std::tie(visible_, bkColor_, color_, column_, edge_, leftMargin_, rightMargin_, showNumber_,
                        showNumberMode_, zeroBase_, zeroLead_);
    }
    auto Fields() const
    {
        return std::tie(visible_, bkColor_, color_, column_, edge_, leftMargin_, rightMargin_, showNumber_,
                        showNumberMode_, zeroBase_, zeroLead_);
    }

    bool visible_ = false;
    TColor bkColor_ = clSilver;
    TColor color_ = clBlack;
    int column_ = 4;
    bool edge_ = true;
    int leftMargin_ = 8;
    int rightMargin_ = 4;
    bool showNumber_ = true;
    TEditorShowNumberMode showNumberMode_ = nmRow;
    bool zeroBase_ = false;
    bool zeroLead_ = false;
};

inline void TEditorLeftbar::Assign(const TEditorLeftbar& source)
{
    if (Fields() == source.Fields())
        return;
    Fields() = source.Fields();
    Changed();
}
