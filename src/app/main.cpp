// Scrivlet: a LaTeX editor for Japanese documents in Shift-JIS.
#include "app/ErrorReport.h"
#include "app/TFormMain.h"
#include "app/DocumentFiles.h"
#include "editor/TEditor.h"
#include "platform/ApplicationIcon.h"

#include <QApplication>
#include <QStringList>

#include <exception>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("Scrivlet"));
    QApplication::setWindowIcon(ApplicationIcon());

    TFormMain form;
    // The exit action went ahead: the loop ends, the settings are written
    // and the windows destroyed.
    QObject::connect(&form, &TFormMain::Terminated, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    try {
        // The arguments' own bytes (Qt has taken out its options): a name
        // that is not UTF-8 would not survive QApplication::arguments().
        form.Documents->OpenCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        ShowErrorReport(&form, QString::fromUtf8(error.what()));
    }
    form.ReportUnreadLists();
    form.FirstRunCheck();
    form.show();
    form.Editor->setFocus();
    return app.exec();
}
