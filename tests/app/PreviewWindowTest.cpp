#include "app/PreviewWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class PreviewWindowTest : public ::testing::Test {
protected:
    QString Shown() const { return window.findChild<QPlainTextEdit*>()->toPlainText(); }
    QString StatusLine() const { return window.statusBar()->findChild<QLabel*>()->text(); }

    QString Write(const char* name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    PreviewWindow window;
};

TEST_F(PreviewWindowTest, ShowsTheSampleDecodedWithEveryBackslashKept)
{
    window.Open(QStringLiteral(SCRIVLET_SAMPLE_PATH));
    const QString text = Shown();

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Scrivlet"));
    EXPECT_FALSE(text.contains(QChar(0xFFFD))) << "the sample has bytes that do not decode";
    EXPECT_TRUE(text.startsWith(QStringLiteral("% 見本の文書")));
    EXPECT_TRUE(text.contains(QStringLiteral("\\section{はじめに}\\label{sec:intro}")));
    // Kanji whose second byte is 0x5C, next to a real backslash.
    EXPECT_TRUE(text.contains(QStringLiteral("結果を表\\ref{tab:fit}に示す。")));
    EXPECT_TRUE(text.contains(QStringLiteral("文書作成ソフトの表示性能")));
    EXPECT_TRUE(text.contains(QStringLiteral("十分な性能")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\\end{document}")));

    const int lines = static_cast<int>(text.count(u'\n')) + 1;
    EXPECT_TRUE(StatusLine().contains(QStringLiteral("読み取り専用のプレビュー")));
    EXPECT_TRUE(StatusLine().contains(QStringLiteral("%1 行").arg(lines))) << StatusLine().toStdString();
}

TEST_F(PreviewWindowTest, ShowsLinesOfAnyBreakAndReportsBytesAfterCtrlZ)
{
    // 表\ref CR LF ソフト LF, then Ctrl-Z and three bytes the text ends before.
    const QString path = Write("eof.tex", QByteArray("\x95\x5c\\ref\r\n\x83\x5c\x83\x74\x83\x67\n"
                                                     "\x1a\x00zz", 19));
    window.Open(path);

    EXPECT_TRUE(Shown().startsWith(QStringLiteral("表\\ref\nソフト")));
    EXPECT_TRUE(StatusLine().contains(QStringLiteral("3 バイト"))) << StatusLine().toStdString();
}

TEST_F(PreviewWindowTest, StatusSaysNothingAboutCtrlZWhenThereIsNone)
{
    window.Open(Write("plain.tex", "a\nb\n"));
    EXPECT_FALSE(StatusLine().contains(QStringLiteral("バイト")));
}

TEST_F(PreviewWindowTest, AFileThatCannotBeOpenedThrowsAndLeavesTheWindowAsItWas)
{
    window.Open(Write("first.tex", "\\documentclass{jarticle}\n"));
    const QString text = Shown();
    const QString status = StatusLine();

    EXPECT_THROW(window.Open(dir.filePath(QStringLiteral("missing.tex"))), std::runtime_error);
    EXPECT_EQ(Shown(), text);
    EXPECT_EQ(StatusLine(), status);
}

} // namespace
