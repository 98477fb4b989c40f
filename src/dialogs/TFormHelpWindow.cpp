#include "dialogs/TFormHelpWindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TFormHelpWindow::TFormHelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), Memo1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("FormHelpWindow"));
    setWindowTitle(QStringLiteral("ヘルプウインドウ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(15);
    font.setStyleHint(QFont::TypeWriter);
    Memo1->setFont(font);
    resize(425, 232);
}

void TFormHelpWindow::SetHelpText(const QString& text) { Memo1->setPlainText(text); }

void TFormHelpWindow::showEvent(QShowEvent* event)
{
    // The first showing opens at its own place; later ones keep where the
    // user left it.
    if (!placed_) {
        placed_ = true;
        move(452, 266);
    }
    QWidget::showEvent(event);
}
