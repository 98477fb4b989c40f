#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/MenuActionList.h"
#include "app/TFormMain.h"

namespace {

// Closes every error box shown while it lives, keeping their texts.
struct ReportCatcher {
    QStringList texts;
    QTimer timer;
    ReportCatcher()
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        timer.start();
    }
};

QByteArray Slurp(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TFormMainSettings, DamagedValuesAreReportedOnceAndTheRestOfTheSettingsStillLoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Scrivlet.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Path]\nLaTeX=\"/usr/bin/platex\"\n"
                   "[Display]\nRightTree=\"yes\"\n"
                   "[Option]\nWheelMove=\"0\"\nBeginMath=\"$$\\r\\n\"\n"
                   "this line is damaged\n"
                   "[ShortCut]\nRunLaTeX=\"F5\"\nFileSave1=hex:01\nFileOpen=\"Ctrl+Nothing\"\n");
    }
    {
        ReportCatcher reports;
        TFormMain form(path);
        ASSERT_EQ(reports.texts.size(), 1);
        const QString& report = reports.texts.first();
        EXPECT_TRUE(report.contains(QStringLiteral("Display\\RightTree: 'yes' は正しい論理型ではありません")))
            << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("ShortCut\\FileSave1: 'FileSave1' のデータ型が不正です")));
        EXPECT_TRUE(report.contains(QStringLiteral("8 行目")));
        EXPECT_TRUE(report.contains(path + QStringLiteral(".damaged")));
        EXPECT_FALSE(report.contains(QStringLiteral("FileOpen"))) << "a text naming no key is not damage";

        EXPECT_EQ(form.LaTeXPath, QStringLiteral("/usr/bin/platex"));
        EXPECT_FALSE(form.WheelMove);
        EXPECT_EQ(form.BeginMath, QStringList({QStringLiteral("$$")}));
        EXPECT_TRUE(form.SidePanelVisible());
        EXPECT_EQ(form.Actions()->Action(QStringLiteral("RunLaTeX"))->shortcut(), QKeySequence(Qt::Key_F5));
        EXPECT_EQ(form.Actions()->Action(QStringLiteral("FileSave1"))->shortcut(),
                  QKeySequence(QStringLiteral("Ctrl+S")));
        EXPECT_TRUE(form.Actions()->Action(QStringLiteral("FileOpen"))->shortcut().isEmpty());
    }
    // At the end the user's values were written back, the damaged flag as it was.
    const QByteArray written = Slurp(path);
    EXPECT_TRUE(written.contains("RightTree=\"yes\"")) << written.toStdString();
    EXPECT_TRUE(written.contains("WheelMove=\"0\""));
    EXPECT_TRUE(written.contains("RunLaTeX=\"F5\""));
    EXPECT_TRUE(written.contains("FileOpen=\"Ctrl+Nothing\""));
    EXPECT_TRUE(Slurp(path + QStringLiteral(".damaged")).contains("this line is damaged"));
}

}  // namespace
