#pragma once

class QString;
class QWidget;

// The application's general error report: a failure that ends only the
// operation under way is shown in a modal box titled "Scrivlet" with the error
// icon and the error's text, with a full stop added when it has none.
void ShowErrorReport(QWidget* parent, const QString& message);

// The text the report shows for `message`.
QString ErrorReportText(const QString& message);

// A message the user should read, in a modal box titled "情報" with the
// information icon and one OK button.
void ShowInformation(QWidget* parent, const QString& message);
