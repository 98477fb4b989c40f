#pragma once
#include <tuple>

#include "editor/core/TChangeNotifier.h"

// Extra pixels around and between the text cells.
class TEditorMargin : public TChangeNotifier {
public:
    int Character() const { return character_; }  // added to every column's width
    int Left() const { return left_; }            // left of the image bar
    int Line() const { return line_; }            // added to every row's height
    int Top() const { return top_; }              // above the ruler / first row

    void SetCharacter(int v) { Set(character_, v); }
    void SetLeft(int v) { Set(left_, v); }
    void SetLine(int v) { Set(line_, v); }
    void SetTop(int v) { Set(top_, v); }

    // Copies every property, notifying once when anything changed.
    void Assign(const TEditorMargin& source);

private:
    auto Fields() { return std::tie(character_, left_, line_, top_); }
    auto Fields() const { return std::tie(character_, left_, line_, top_); }

    int character_ = 0;
    int left_ = 19;
    int line_ = 0;
    int top_ = 2;
};

inline void TEditorMargin::Assign(const TEditorMargin& source)
{
    if (Fields() == source.Fields())
        return;
    Fields() = source.Fields();
    Changed();
}
