#include "app/ErrorReport.h"

#include <QMessageBox>
#include <QString>

QString ErrorReportText(const QString& message)
{
    // A full stop is added only when the text does not end in one already.
    if (message.endsWith(u'.') || message.endsWith(u'。'))
        return message;
    return message + u'.';
}

void ShowErrorReport(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Scrivlet"), ErrorReportText(message), QMessageBox::Ok,
                    parent);
    box.exec();
}

void ShowInformation(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("情報"), message, QMessageBox::Ok, parent);
    box.exec();
}
