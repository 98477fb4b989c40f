#include "app/PreviewWindow.h"

#include "app/JapaneseFont.h"
#include "editor/core/ShiftJisCodec.h"
#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TEditorStrings.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>

#include <string>

namespace {

const QString kReadOnly = QStringLiteral("読み取り専用のプレビュー");

// IPAGothic, like many Japanese fonts, draws U+005C as a yen sign. TeX source
// reads better with its escape character drawn as a backslash, so single-byte
// characters come from the system's Latin monospace font and everything that
// font lacks from the Japanese one.
QFont PreviewFont()
{
    QFont font = JapaneseMonospaceFont(11);
    const QString latin = QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
    if (latin != font.family())
        font.setFamilies({latin, font.family()});
    return font;
}

} // namespace

PreviewWindow::PreviewWindow(QWidget* parent)
    : QMainWindow(parent)
    , Text(new QPlainTextEdit(this))
    , Status(new QLabel(kReadOnly, this))
{
    setWindowTitle(QStringLiteral("Scrivlet"));
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->setFont(PreviewFont());
    Text->setTabStopDistance(8 * QFontMetricsF(Text->font()).horizontalAdvance(u' '));
    setCentralWidget(Text);
    statusBar()->addWidget(Status, 1);
    resize(900, 700);
}

void PreviewWindow::Open(const QString& path)
{
    TEditorScreenStrings store;
    TEditorStrings lines(store);
    const TLoadResult result = lines.LoadFromFile(QFile::encodeName(path).toStdString());

    const int count = lines.GetCount();
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += u'\n';
        const std::u32string decoded = ShiftJisCodec::DecodeForDisplay(lines.Get(i));
        text += QString::fromUcs4(decoded.data(), static_cast<qsizetype>(decoded.size()));
    }
    Text->setPlainText(text);

    QString status = QStringLiteral("%1: %2　%3 行").arg(kReadOnly, path).arg(count);
    if (result.BytesAfterEof > 0)
        status += QStringLiteral("　EOF (Ctrl+Z) の後の %1 バイトは表示していません")
                      .arg(result.BytesAfterEof);
    Status->setText(status);
}
