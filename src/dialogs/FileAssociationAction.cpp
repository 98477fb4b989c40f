#include "dialogs/FileAssociationAction.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>

#include "app/ErrorReport.h"
#include "platform/FileAssociation.h"
#include "platform/ToolDiscovery.h"

namespace {

// The desktop's cache of which applications take which types is rebuilt
// for our folder when the tool is installed; nothing waits for it.
void RefreshDesktopDatabase(const std::string& folder)
{
    const char* path = std::getenv("PATH");
    const std::string tool = ToolDiscovery::FindInPath("update-desktop-database", path ? path : "");
    if (tool.empty())
        return;
    QProcess::startDetached(QFile::decodeName(QByteArray::fromStdString(tool)),
                            {QFile::decodeName(QByteArray::fromStdString(folder))});
}

}  // namespace

void ToolKanrenExecute(QWidget* parent)
{
    const FileAssociation::Places places = FileAssociation::ProcessPlaces();
    const std::string program = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    const FileAssociation::Outcome outcome = FileAssociation::Toggle(places, program);
    const QString message = QString::fromStdString(outcome.Message());
    if (!outcome.Succeeded) {
        ShowErrorReport(parent, message);
        return;
    }
    RefreshDesktopDatabase(places.ApplicationsFolder);
    ShowInformation(parent, message);
}
