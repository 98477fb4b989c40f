#include "app/DocumentDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/DocumentPath.h"
#include "app/ErrorReport.h"
#include "platform/ChosenFileName.h"

namespace {

// The patterns are hidden from the user, who sees only the names; they match
// the extension in any case, as the program's other ".tex" tests do.
const QString kTexFilter = QStringLiteral("TeXファイル (*.[tT][eE][xX])");
const QString kAllFilter = QStringLiteral("全てのファイル (*)");

QString Decoded(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

// Whether Qt's text for the bytes leads back to them.
bool RoundTrips(const std::string& bytes) { return QFile::encodeName(Decoded(bytes)).toStdString() == bytes; }

// Shows the last name selected. Qt cannot list a folder whose name is not
// valid UTF-8 (it looks for the folder its text encodes to), so for a name in
// such a folder the dialog starts in the nearest folder above it that it can
// show. A file name that is not UTF-8 is shown in its folder as the dialog
// lists it.
void StartAt(QFileDialog& dialog, const std::string& lastName)
{
    std::string folder = DocumentPath::FolderOf(lastName);
    if (RoundTrips(folder)) {
        dialog.selectFile(Decoded(lastName));
        return;
    }
    while (!folder.empty() && !RoundTrips(folder)) {
        folder.pop_back();  // the final slash
        folder = DocumentPath::FolderOf(folder);
    }
    if (!folder.empty())
        dialog.setDirectory(Decoded(folder));
}

// The dialog works in Qt's decoded names; its result is turned back into the
// system's bytes.
std::string RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QStringList& filters,
                          const std::string& lastName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The open dialog takes a typed name of a file that does not exist; the
    // open then reports it. The save dialog replaces a file without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    if (!lastName.empty())
        StartAt(dialog, lastName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::string();
    return SystemPathOfDialogName(dialog.selectedFiles().first());
}

}  // namespace

std::string SystemPathOfDialogName(const QString& name)
{
    const ChosenFileName::NameCodec codec{
        [](std::string_view text) {
            return QFile::encodeName(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())))
                .toStdString();
        },
        [](std::string_view bytes) {
            return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))).toStdString();
        },
    };
    return ChosenFileName::SystemPath(name.toStdString(), codec, ChosenFileName::FolderEntryNames,
                                      ChosenFileName::PathExists);
}

DocumentPrompts::SaveAnswer DocumentDialogs::AskSaveChanges()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("情報"),
                    QStringLiteral("ファイルが変更されています。保存しますか？"), QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return SaveAnswer::Yes;
    if (box.clickedButton() == no)
        return SaveAnswer::No;
    return SaveAnswer::Cancel;
}

std::string DocumentDialogs::GetOpenFileName(const std::string& lastName)
{
    return RunFileDialog(parent_, QFileDialog::AcceptOpen, {kTexFilter, kAllFilter}, lastName);
}

std::string DocumentDialogs::GetSaveFileName(const std::string& lastName)
{
    return RunFileDialog(parent_, QFileDialog::AcceptSave, {kTexFilter}, lastName);
}

void DocumentDialogs::ShowError(const QString& message)
{
    ShowErrorReport(parent_, message);
}

void DocumentDialogs::ShowNotice(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("情報"), message, QMessageBox::Ok, parent_);
    box.exec();
}
