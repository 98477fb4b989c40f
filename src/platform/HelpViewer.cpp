#include "platform/HelpViewer.h"

#include "platform/ProgramDataFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kAnchorRole = Qt::UserRole;

struct Topic {
    int level;
    QString title;
    QString anchor;
    QString text;  // the section's plain text, for the search
};

// Cuts the document at its h2/h3 headings that carry an id.
QList<Topic> Topics(const QString& html)
{
    static const QRegularExpression heading(QStringLiteral("<h([23])\\s+id=\"([^\"]+)\"\\s*>(.*?)</h\\1>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QList<Topic> topics;
    auto it = heading.globalMatch(html);
    qsizetype previousEnd = -1;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (!topics.isEmpty())
            topics.last().text = html.mid(previousEnd, m.capturedStart() - previousEnd).remove(tags);
        QString title = m.captured(3);
        title.remove(tags);
        topics.append({m.captured(1).toInt(), title.trimmed(), m.captured(2), {}});
        previousEnd = m.capturedEnd();
    }
    if (!topics.isEmpty())
        topics.last().text = html.mid(previousEnd).remove(tags);
    return topics;
}

}  // namespace

QString HelpViewer::DefaultHelpFile()
{
    return ProgramDataFolder::HelpFile();
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Scrivlet ヘルプ"));
    tabs_ = new QTabWidget;
    contents_ = new QTreeWidget;
    contents_->setHeaderHidden(true);
    auto* searchPage = new QWidget;
    search_ = new QLineEdit;
    search_->setPlaceholderText(QStringLiteral("検索する語句"));
    search_->setClearButtonEnabled(true);
    results_ = new QListWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(search_);
    searchLayout->addWidget(results_);
    tabs_->addTab(contents_, QStringLiteral("目次"));
    tabs_->addTab(searchPage, QStringLiteral("検索"));
    browser_ = new QTextBrowser;
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setSizes({220, 560});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(800, 560);

    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { GoToTopic(item->data(0, kAnchorRole).toString()); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { GoToTopic(item->data(0, kAnchorRole).toString()); });
    connect(search_, &QLineEdit::textChanged, this, &HelpViewer::Search);
    connect(results_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { GoToTopic(item->data(kAnchorRole).toString()); });
    connect(results_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { GoToTopic(item->data(kAnchorRole).toString()); });
    SetHelpFile(DefaultHelpFile());
}

bool HelpViewer::SetHelpFile(const QString& path)
{
    helpFile_ = path;
    contents_->clear();
    results_->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        browser_->setPlainText(QStringLiteral("ヘルプファイル %1 を開けません: %2").arg(path, file.errorString()));
        return false;
    }
    const QString html = QString::fromUtf8(file.readAll());
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setHtml(html);
    QTreeWidgetItem* section = nullptr;
    for (const Topic& topic : Topics(html)) {
        auto* item = topic.level == 2 || !section ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(section);
        item->setText(0, topic.title);
        item->setData(0, kAnchorRole, topic.anchor);
        item->setData(0, kAnchorRole + 1, topic.text);
        if (topic.level == 2)
            section = item;
    }
    contents_->expandAll();
    return true;
}

QList<QTreeWidgetItem*> HelpViewer::MatchingTopics(const QString& text) const
{
    QList<QTreeWidgetItem*> found;
    if (text.trimmed().isEmpty())
        return found;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QString body = (*it)->data(0, kAnchorRole + 1).toString();
        if ((*it)->text(0).contains(text, Qt::CaseInsensitive) || body.contains(text, Qt::CaseInsensitive))
            found << *it;
    }
    return found;
}

QStringList HelpViewer::FindTopics(const QString& text) const
{
    QStringList found;
    for (const QTreeWidgetItem* topic : MatchingTopics(text))
        found << topic->text(0);
    return found;
}

void HelpViewer::Search()
{
    results_->clear();
    for (const QTreeWidgetItem* topic : MatchingTopics(search_->text())) {
        auto* item = new QListWidgetItem(topic->text(0), results_);
        item->setData(kAnchorRole, topic->data(0, kAnchorRole));
    }
}

void HelpViewer::GoToTopic(const QString& anchor)
{
    if (!anchor.isEmpty())
        browser_->scrollToAnchor(anchor);
}

void HelpViewer::ShowFinder()
{
    tabs_->show();
    show();
    raise();
    activateWindow();
    if (tabs_->currentIndex() == 0) {
        contents_->setFocus();
    } else {
        search_->setFocus();
        search_->selectAll();
    }
}

void HelpViewer::ShowContentsTopic()
{
    tabs_->hide();
    browser_->moveCursor(QTextCursor::Start);
    browser_->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
    browser_->setFocus();
}
