// Scrivlet: a LaTeX editor for Japanese documents in Shift-JIS.
#include "app/EditorWindow.h"
#include "app/ErrorReport.h"

#include <QApplication>
#include <QStringList>

#include <exception>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Scrivlet"));

    const QStringList arguments = QApplication::arguments();
    const QString path = arguments.size() > 1 ? arguments.at(1)
                                              : QStringLiteral(SCRIVLET_SAMPLE_PATH);

    EditorWindow window;
    window.show();
    try {
        window.Open(path);
    } catch (const std::exception& error) {
        ShowErrorReport(&window, QString::fromUtf8(error.what()));
    }
    return app.exec();
}
