#include "app/OutlineTreeView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "app/OutlineItemModel.h"

namespace {

// Where a row's branch mark lies.
QRect BranchRect(const QRect& row, int depth)
{
    return QRect(row.left() + depth * OutlineTreeView::kIndentation, row.top(), OutlineTreeView::kIndentation,
                 row.height());
}

class OutlineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int depth = index.data(OutlineItemModel::DepthRole).toInt();
        const QRect branch = BranchRect(option.rect, depth);
        if (index.data(OutlineItemModel::HasChildrenRole).toBool()) {
            QStyleOption mark;
            mark.rect = branch;
            mark.palette = option.palette;
            mark.state = QStyle::State_Children | QStyle::State_Item;
            if (index.data(OutlineItemModel::ExpandedRole).toBool())
                mark.state |= QStyle::State_Open;
            const QWidget* widget = option.widget;
            (widget ? widget->style() : QApplication::style())
                ->drawPrimitive(QStyle::PE_IndicatorBranch, &mark, painter, widget);
        }
        QStyleOptionViewItem text = option;
        text.rect.setLeft(branch.right() + 1);
        QStyledItemDelegate::paint(painter, text, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += (index.data(OutlineItemModel::DepthRole).toInt() + 1) * OutlineTreeView::kIndentation;
        return size;
    }
};

}  // namespace

OutlineTreeView::OutlineTreeView(QWidget* parent) : QListView(parent), model_(new OutlineItemModel(this))
{
    setModel(model_);
    setItemDelegate(new OutlineDelegate(this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int OutlineTreeView::CurrentNode() const { return model_->NodeOfRow(currentIndex().row()); }

void OutlineTreeView::SetExpanded(int node, bool expanded)
{
    const int current = CurrentNode();
    const int scroll = verticalScrollBar()->value();
    model_->SetExpanded(node, expanded);
    int shown = current;
    while (shown >= 0 && model_->RowOfNode(shown) < 0)
        shown = model_->ParentOf(shown);
    if (shown >= 0)
        setCurrentIndex(model_->index(model_->RowOfNode(shown)));
    verticalScrollBar()->setValue(scroll);
}

void OutlineTreeView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton) {
        const int node = model_->NodeOfRow(index.row());
        const int depth = index.data(OutlineItemModel::DepthRole).toInt();
        if (model_->HasChildren(node) && BranchRect(visualRect(index), depth).contains(event->position().toPoint())) {
            SetExpanded(node, !model_->Expanded(node));
            event->accept();
            return;
        }
    }
    QListView::mousePressEvent(event);
}

void OutlineTreeView::keyPressEvent(QKeyEvent* event)
{
    const int node = CurrentNode();
    if (node >= 0 && event->modifiers() == Qt::NoModifier) {
        if (event->key() == Qt::Key_Left) {
            if (model_->HasChildren(node) && model_->Expanded(node))
                SetExpanded(node, false);
            else if (model_->ParentOf(node) >= 0)
                setCurrentIndex(model_->index(model_->RowOfNode(model_->ParentOf(node))));
            return;
        }
        if (event->key() == Qt::Key_Right) {
            if (model_->HasChildren(node) && !model_->Expanded(node))
                SetExpanded(node, true);
            else if (model_->HasChildren(node))
                setCurrentIndex(model_->index(model_->RowOfNode(node + 1)));
            return;
        }
    }
    QListView::keyPressEvent(event);
}
