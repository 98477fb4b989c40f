#include "app/OutlineItemModel.h"

#include <algorithm>

#include "editor/core/ShiftJisCodec.h"

void OutlineItemModel::SetNodes(std::vector<Node> nodes)
{
    beginResetModel();
    nodes_ = std::move(nodes);
    const std::size_t n = nodes_.size();
    subtreeEnd_.assign(n, static_cast<int>(n));
    parent_.assign(n, -1);
    expanded_.assign(n, 1);
    // Open nodes: every deeper node that follows belongs to them.
    std::vector<int> open;
    for (std::size_t i = 0; i < n; ++i) {
        while (!open.empty() && nodes_[static_cast<std::size_t>(open.back())].Depth >= nodes_[i].Depth) {
            subtreeEnd_[static_cast<std::size_t>(open.back())] = static_cast<int>(i);
            open.pop_back();
        }
        parent_[i] = open.empty() ? -1 : open.back();
        open.push_back(static_cast<int>(i));
    }
    Layout();
    endResetModel();
}

void OutlineItemModel::Layout()
{
    rows_.clear();
    for (int i = 0, n = NodeCount(); i < n;) {
        rows_.push_back(i);
        i = Expanded(i) ? i + 1 : subtreeEnd_[static_cast<std::size_t>(i)];
    }
}

int OutlineItemModel::NodeOfRow(int row) const
{
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)] : -1;
}

int OutlineItemModel::RowOfNode(int node) const
{
    const auto found = std::lower_bound(rows_.begin(), rows_.end(), node);
    return found != rows_.end() && *found == node ? static_cast<int>(found - rows_.begin()) : -1;
}

int OutlineItemModel::ParentOf(int node) const
{
    return node >= 0 && node < NodeCount() ? parent_[static_cast<std::size_t>(node)] : -1;
}

bool OutlineItemModel::HasChildren(int node) const
{
    return node >= 0 && node < NodeCount() && subtreeEnd_[static_cast<std::size_t>(node)] > node + 1;
}

void OutlineItemModel::SetExpanded(int node, bool expanded)
{
    if (!HasChildren(node) || Expanded(node) == expanded)
        return;
    beginResetModel();
    expanded_[static_cast<std::size_t>(node)] = expanded ? 1 : 0;
    Layout();
    endResetModel();
}

void OutlineItemModel::ExpandAll()
{
    beginResetModel();
    std::fill(expanded_.begin(), expanded_.end(), 1);
    Layout();
    endResetModel();
}

int OutlineItemModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant OutlineItemModel::data(const QModelIndex& index, int role) const
{
    const int node = NodeOfRow(index.row());
    if (node < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return QString::fromStdString(ShiftJisCodec::DecodeToUtf8(NodeAt(node).Text));
    case DepthRole:
        return NodeAt(node).Depth;
    case HasChildrenRole:
        return HasChildren(node);
    case ExpandedRole:
        return Expanded(node);
    case NodeRole:
        return node;
    default:
        return {};
    }
}
