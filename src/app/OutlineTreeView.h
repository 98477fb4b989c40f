#pragma once
#include <QListView>

class OutlineItemModel;

// The section tree's view: the rows of an OutlineItemModel indented by
// depth, with a branch mark before each parent. A click on the mark, or
// Left and Right, closes and opens a parent; a click on the text is the
// view's clicked signal, and Enter activates the current row. It draws a
// long outline as fast as a list, where a tree view lays out every row.
class OutlineTreeView : public QListView {
    Q_OBJECT

public:
    static constexpr int kIndentation = 19;

    explicit OutlineTreeView(QWidget* parent = nullptr);

    OutlineItemModel* Model() const { return model_; }
    // The node of the current row; -1 for none.
    int CurrentNode() const;
    // Opens or closes a node, keeping the current node and the scroll place.
    void SetExpanded(int node, bool expanded);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    OutlineItemModel* model_;
};
