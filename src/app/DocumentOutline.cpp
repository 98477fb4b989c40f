#include "app/DocumentOutline.h"

#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTreeWidget>

#include "app/DocumentFiles.h"
#include "app/DocumentPath.h"
#include "app/ErrorReport.h"
#include "app/OutlineItemModel.h"
#include "app/OutlineTreeView.h"
#include "build/CompileRootSearch.h"
#include "build/DiskTexFolder.h"
#include "editor/TEditor.h"
#include "platform/PathDisplay.h"

namespace {

// Bytes read per step of a slice between two looks at the clock.
constexpr std::size_t kStepBytes = 16 * 1024;

constexpr int kPathRole = Qt::UserRole + 1;

// Shows new rows in a view, keeping its scroll place and, where it still
// exists, its current row.
void ShowNodes(QListView* view, OutlineItemModel* model, std::vector<OutlineItemModel::Node> nodes)
{
    const int scroll = view->verticalScrollBar()->value();
    const int current = view->currentIndex().row();
    model->SetNodes(std::move(nodes));
    if (current >= 0 && current < model->rowCount())
        view->setCurrentIndex(model->index(current));
    view->verticalScrollBar()->setValue(scroll);
}

}  // namespace

DocumentOutline::DocumentOutline(TEditor& editor, DocumentFiles& documents, QListView* labels,
                                 OutlineTreeView* sections, QTreeWidget* files, std::function<bool()> renewTree,
                                 QWidget* window)
    : QObject(window),
      editor_(editor),
      documents_(documents),
      labels_(labels),
      labelModel_(new OutlineItemModel(labels)),
      sections_(sections),
      filesView_(files),
      renewTree_(std::move(renewTree)),
      window_(window)
{
    labels_->setModel(labelModel_);
    labels_->setUniformItemSizes(true);
    labels_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    ShowError = [this](const QString& message) {
        QMessageBox::critical(window_, QStringLiteral("Scrivlet"), message);
    };
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &DocumentOutline::StartBuild);
    slice_.setSingleShot(true);
    slice_.setInterval(0);
    connect(&slice_, &QTimer::timeout, this, &DocumentOutline::Slice);
    publish_.setSingleShot(true);
    publish_.setInterval(0);
    connect(&publish_, &QTimer::timeout, this, &DocumentOutline::PublishReady);

    connect(&editor_, &TEditor::Changed, this, &DocumentOutline::EditorStatusChange);
    connect(&documents_, &DocumentFiles::RefreshOutline, this, &DocumentOutline::RefreshOutline);
    connect(&documents_, &DocumentFiles::BuildFileTree, this, &DocumentOutline::BuildFileTree);
    connect(labels_, &QAbstractItemView::clicked, this, &DocumentOutline::ListLabelClick);
    connect(labels_, &QAbstractItemView::activated, this, &DocumentOutline::ListLabelClick);
    connect(sections_, &QAbstractItemView::clicked, this, &DocumentOutline::SectionTreeDblClick);
    connect(sections_, &QAbstractItemView::activated, this, &DocumentOutline::SectionTreeDblClick);
    connect(filesView_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { FileTreeViewDblClick(item); });
    connect(filesView_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { FileTreeViewDblClick(item); });

    popupMenuFileTree_ = new QMenu(filesView_);
    popupMenuFileTree_->setObjectName(QStringLiteral("PopupMenuFileTree"));
    QAction* guess = popupMenuFileTree_->addAction(QStringLiteral("ファイル構造推定"));
    guess->setObjectName(QStringLiteral("N29"));
    connect(guess, &QAction::triggered, this, &DocumentOutline::BuildFileTree);
    popupMenuFileTree_->addAction(QStringLiteral("ファイル構造読み込み"))->setEnabled(false);
    popupMenuFileTree_->addAction(QStringLiteral("ファイル構造書き出し"))->setEnabled(false);
    filesView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(filesView_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popupMenuFileTree_->popup(filesView_->viewport()->mapToGlobal(pos)); });
}

DocumentOutline::~DocumentOutline() = default;

bool DocumentOutline::Pending() const { return pause_.isActive() || builder_ != nullptr || ready_.has_value(); }

void DocumentOutline::EditorStatusChange()
{
    // The text a rebuild read has changed under it.
    if (builder_ || ready_) {
        builder_.reset();
        ready_.reset();
        slice_.stop();
        publish_.stop();
        pause_.start();
        return;
    }
    if (renewTree_ && renewTree_())
        pause_.start();
}

void DocumentOutline::RefreshOutline()
{
    pause_.stop();
    StartBuild();
}

void DocumentOutline::StartBuild()
{
    ready_.reset();
    publish_.stop();
    builder_ = std::make_unique<OutlineBuilder>(editor_.Core().Store());
    Slice();
}

void DocumentOutline::Slice()
{
    if (!builder_)
        return;
    QElapsedTimer clock;
    clock.start();
    while (!builder_->Step(kStepBytes))
        if (clock.elapsed() >= SliceMs) {
            slice_.start();
            return;
        }
    ready_ = builder_->TakeResult();
    builder_.reset();
    publish_.start();
}

void DocumentOutline::Finish()
{
    if (pause_.isActive()) {
        pause_.stop();
        builder_ = std::make_unique<OutlineBuilder>(editor_.Core().Store());
    }
    if (builder_) {
        slice_.stop();
        while (!builder_->Step(kStepBytes)) {
        }
        ready_ = builder_->TakeResult();
        builder_.reset();
    }
    publish_.stop();
    PublishReady();
}

void DocumentOutline::PublishReady()
{
    if (!ready_)
        return;
    OutlineEntries entries = std::move(*ready_);
    ready_.reset();
    Publish(std::move(entries));
}

void DocumentOutline::Publish(OutlineEntries entries)
{
    const bool sameLabels = entries.SameLabels(entries_);
    const bool sameHeadings = entries.SameHeadings(entries_);
    entries_ = std::move(entries);
    if (!sameLabels) {
        std::vector<OutlineItemModel::Node> nodes;
        nodes.reserve(entries_.Labels.size());
        for (const OutlineLabel& label : entries_.Labels)
            nodes.push_back({label.Text, 0});
        ShowNodes(labels_, labelModel_, std::move(nodes));
    }
    if (!sameHeadings) {
        std::vector<OutlineItemModel::Node> nodes;
        nodes.reserve(entries_.Headings.size());
        std::vector<int> depth(entries_.Headings.size());
        for (std::size_t i = 0; i < entries_.Headings.size(); ++i) {
            const OutlineHeading& h = entries_.Headings[i];
            depth[i] = h.Parent < 0 ? 0 : depth[static_cast<std::size_t>(h.Parent)] + 1;
            nodes.push_back({h.Title, depth[i]});
        }
        ShowNodes(sections_, sections_->Model(), std::move(nodes));
    }
    emit Refreshed();
}

void DocumentOutline::BuildFileTree()
{
    filesView_->clear();
    files_ = IncludeTree();
    const std::string current = documents_.CurrentFileName();
    if (current.empty())
        return;
    DiskTexFolder folder(DocumentPath::FolderOf(current));
    files_ = ::BuildFileTree(folder, current, [this] { ShowError(QString::fromUtf8(CompileRootSearch::kCycleMessage)); });
    std::vector<QTreeWidgetItem*> items;
    items.reserve(files_.Nodes.size());
    QList<QTreeWidgetItem*> top;
    for (const IncludeNode& node : files_.Nodes) {
        auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(DisplayPathText(node.Text))));
        item->setData(0, kPathRole, QByteArray::fromStdString(node.Path));
        item->setToolTip(0, QString::fromStdString(DisplayPathText(node.Path)));
        if (node.Missing)  // not on disk yet: shown greyed
            item->setForeground(0, filesView_->palette().brush(QPalette::Disabled, QPalette::Text));
        if (node.Parent < 0)
            top.push_back(item);
        else
            items[static_cast<std::size_t>(node.Parent)]->addChild(item);
        items.push_back(item);
    }
    filesView_->addTopLevelItems(top);
    if (files_.ErrorPath.empty()) {
        filesView_->expandAll();
        return;
    }
    ShowErrorReport(window_, QStringLiteral("%1: %2").arg(QString::fromStdString(DisplayPathText(files_.ErrorPath)),
                                                          QString::fromStdString(files_.ErrorReason)));
}

void DocumentOutline::RunRenewSecLabExecute()
{
    RefreshOutline();
    BuildFileTree();
}

void DocumentOutline::ListLabelClick(const QModelIndex& index)
{
    const int k = labelModel_->NodeOfRow(index.row());
    editor_.setFocus();
    if (k < 0 || k >= static_cast<int>(entries_.Labels.size()))
        return;
    TEditorCore& e = editor_.Core();
    e.SetRowCol(e.LineToRow(entries_.Labels[static_cast<std::size_t>(k)].Line), 0);
}

void DocumentOutline::SectionTreeDblClick(const QModelIndex& index)
{
    const int k = sections_->Model()->NodeOfRow(index.row());
    if (k < 0 || k >= static_cast<int>(entries_.Headings.size()))
        return;
    editor_.setFocus();
    TEditorCore& e = editor_.Core();
    e.SetRowCol(e.LineToRow(entries_.Headings[static_cast<std::size_t>(k)].Line), 0);
}

void DocumentOutline::FileTreeViewDblClick(QTreeWidgetItem* item)
{
    if (!item)
        return;
    documents_.OpenFileTreeNode(item->data(0, kPathRole).toByteArray().toStdString());
}
