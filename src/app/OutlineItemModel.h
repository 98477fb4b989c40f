#pragma once
#include <QAbstractListModel>

#include <string>
#include <vector>

// The rows of an outline view: a tree laid out flat, parents before their
// children (document order), with the rows of collapsed parents' subtrees
// left out. A model reset is all a new outline costs, however long, so the
// panel keeps up with large documents; texts are Shift-JIS bytes, decoded
// only for the rows shown.
class OutlineItemModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { DepthRole = Qt::UserRole + 1, HasChildrenRole, ExpandedRole, NodeRole };

    struct Node {
        std::string Text;
        int Depth = 0;  // a node's children follow it with Depth + 1
    };

    using QAbstractListModel::QAbstractListModel;

    // Replaces every node; all are expanded.
    void SetNodes(std::vector<Node> nodes);
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    const Node& NodeAt(int node) const { return nodes_[static_cast<std::size_t>(node)]; }

    // The node a row shows, and the row that shows a node (-1 when hidden).
    int NodeOfRow(int row) const;
    int RowOfNode(int node) const;
    int ParentOf(int node) const;
    bool HasChildren(int node) const;
    bool Expanded(int node) const { return expanded_[static_cast<std::size_t>(node)] != 0; }
    // Shows or hides the node's subtree; the rows change by a reset.
    void SetExpanded(int node, bool expanded);
    void ExpandAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void Layout();

    std::vector<Node> nodes_;
    std::vector<int> subtreeEnd_;  // one past the last node of each node's subtree
    std::vector<int> parent_;
    std::vector<char> expanded_;
    std::vector<int> rows_;  // the node of each shown row
};
