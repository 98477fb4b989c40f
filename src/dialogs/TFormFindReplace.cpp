#include "dialogs/TFormFindReplace.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <string>

#include "build/FindReplace.h"
#include "editor/TEditor.h"
#include "editor/core/ShiftJisCodec.h"

namespace {

// The field's text as Shift-JIS bytes; false with the first character that
// the code page cannot hold.
bool Encode(const QLineEdit* field, std::string& bytes, char32_t& bad)
{
    bytes.clear();
    return ShiftJisCodec::EncodeUtf8(field->text().toStdString(), bytes, &bad);
}

QString CannotEncodeMessage(const QString& field, char32_t bad)
{
    return QStringLiteral("%1の「%2」(U+%3) は Shift-JIS で表せないため検索できません。")
        .arg(field, QString::fromUcs4(&bad, 1),
             QString::number(static_cast<uint>(bad), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

}  // namespace

TFormFindReplace::TFormFindReplace(QWidget* mainWindow, TEditor* editor)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow), editor_(editor)
{
    setObjectName(QStringLiteral("FormFindReplace"));
    setWindowTitle(QStringLiteral("検索・置換ダイアログ"));
    setModal(false);
    setFixedSize(353, 140);
    setWindowOpacity(200.0 / 255.0);

    GroupBox1 = new QGroupBox(QStringLiteral("対象文字列"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 4, 337, 96);
    LabelFind = new QLabel(QStringLiteral("検索文字列"), GroupBox1);
    LabelFind->setGeometry(12, 18, 160, 14);
    EditFind = new QLineEdit(GroupBox1);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    EditFind->setGeometry(12, 32, 313, 20);
    LabelFind->setBuddy(EditFind);
    LabelReplace = new QLabel(QStringLiteral("置換先文字列"), GroupBox1);
    LabelReplace->setGeometry(12, 54, 160, 14);
    EditReplace = new QLineEdit(GroupBox1);
    EditReplace->setObjectName(QStringLiteral("EditReplace"));
    EditReplace->setGeometry(12, 68, 313, 20);
    LabelReplace->setBuddy(EditReplace);
    EditReplace->setEnabled(false);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(184, 108, 75, 25);
    ButtonOK->setDefault(true);
    ButtonOK->setAutoDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(270, 108, 75, 25);
    ButtonCancel->setAutoDefault(false);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormFindReplace::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormFindReplace::ButtonCancelClick);

    ShowMessage = [this](const QString& message) {
        QMessageBox::information(isVisible() ? static_cast<QWidget*>(this) : mainWindow_.data(),
                                 QStringLiteral("情報"), message);
    };
}

bool TFormFindReplace::ReplaceMode() const { return EditReplace->isEnabled(); }

void TFormFindReplace::ShowFor(bool replaceMode)
{
    EditReplace->setEnabled(replaceMode);
    show();
    raise();
    activateWindow();
    EditFind->setFocus();
    EditFind->selectAll();
}

void TFormFindReplace::ButtonOKClick()
{
    if (EditFind->text().isEmpty()) {
        hide();
        return;
    }
    FindReplace::Request request;
    request.ReplaceMode = ReplaceMode();
    char32_t bad = 0;
    if (!Encode(EditFind, request.Pattern, bad)) {
        ShowMessage(CannotEncodeMessage(QStringLiteral("検索文字列"), bad));
        return;
    }
    if (request.ReplaceMode && !Encode(EditReplace, request.Replacement, bad)) {
        ShowMessage(CannotEncodeMessage(QStringLiteral("置換先文字列"), bad));
        return;
    }
    if (mainWindow_)
        mainWindow_->activateWindow();
    if (editor_) {
        editor_->setFocus();
        FindReplace::Run(editor_->Core(), request);
    }
    hide();
}

void TFormFindReplace::ButtonCancelClick() { hide(); }
