#pragma once
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// Shows the program's help document, an HTML file beside the program: the
// document itself, its contents built from its headings, and a search over
// its topics.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // The help document's path: "SCRIVLET.html" in the help folder of the
    // program's data folder.
    static QString DefaultHelpFile();

    explicit HelpViewer(QWidget* parent = nullptr);

    // Loads the document; false (and a message shown in the viewer) when it
    // cannot be read.
    bool SetHelpFile(const QString& path);
    const QString& HelpFile() const { return helpFile_; }

    // The finder: the pane with the contents and the search beside the
    // document, on the tab last used (the contents at first).
    void ShowFinder();
    // The document's contents topic, its first page, alone: the finder pane
    // is put away and the document shown from its start.
    void ShowContentsTopic();

    // The topics (headings) whose section mentions `text`, in document order.
    QStringList FindTopics(const QString& text) const;
    QTabWidget* Finder() const { return tabs_; }
    QTreeWidget* Contents() const { return contents_; }
    QTextBrowser* Browser() const { return browser_; }
    QListWidget* SearchResults() const { return results_; }
    QLineEdit* SearchField() const { return search_; }

private:
    void Search();
    QList<QTreeWidgetItem*> MatchingTopics(const QString& text) const;
    void GoToTopic(const QString& anchor);

    QString helpFile_;
    QTabWidget* tabs_;
    QTreeWidget* contents_;
    QLineEdit* search_;
    QListWidget* results_;
    QTextBrowser* browser_;
};
