#pragma once
#include "editor/core/TChangeNotifier.h"

// The column ruler above the text. Only its geometry lives here so far.
class TEditorRuler : public TChangeNotifier {
public:
    bool Visible() const { return visible_; }
    bool Edge() const { return edge_; }
    int GaugeRange() const { return gaugeRange_; }

    void SetVisible(bool v) { Set(visible_, v); }
    void SetEdge(bool v) { Set(edge_, v); }
    void SetGaugeRange(int v) { Set(gaugeRange_, v); }

    // Pixels it takes: 0 when hidden, one more for the edge.
    int Height() const { return visible_ ? (edge_ ? 11 : 10) : 0; }

private:
    bool visible_ = false;
    bool edge_ = true;
    int gaugeRange_ = 10;
};
