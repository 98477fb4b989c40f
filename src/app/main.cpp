// Scrivlet: a LaTeX editor for Japanese documents in Shift-JIS.
#include "app/ErrorReport.h"
#include "app/TFormMain.h"
#include "app/DocumentFiles.h"
#include "editor/TEditor.h"
#include "platform/ApplicationIcon.h"

#include <QApplication>
#include <QStringList>

#include <exception>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Scrivlet"));
    QApplication::setApplicationDisplayName(QStringLiteral("Scrivlet"));
    QApplication::setWindowIcon(ApplicationIcon());

    TFormMain form;
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
