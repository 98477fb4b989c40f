// Scrivlet: a LaTeX editor for Japanese documents in Shift-JIS.
#include "app/ErrorReport.h"
#include "app/TFormMain.h"
#include "app/DocumentFiles.h"
#include "editor/TEditor.h"

#include <QApplication>
#include <QStringList>

#include <exception>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("Scrivlet"));

    TFormMain form;
    // The exit action went ahead: the loop ends, the settings are written
    // and the windows destroyed.
    QObject::connect(&form, &TFormMain::Terminated, &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    try {
        form.Documents->OpenCommandLine(QApplication::arguments().mid(1));
    } catch (const std::exception& error) {
        ShowErrorReport(&form, QString::fromUtf8(error.what()));
    }
    form.FirstRunCheck();
    form.show();
    form.Editor->setFocus();
    return app.exec();
}
