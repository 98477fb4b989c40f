#include "app/ErrorReport.h"

#include <QMessageBox>
#include <QString>

void ShowErrorReport(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Scrivlet"), message + u'.',
                    QMessageBox::Ok, parent);
    box.exec();
}
