#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/DocumentFiles.h"
#include "app/DocumentPath.h"
#include "app/TFormMain.h"
#include "app/TSettings.h"
#include "platform/IniRegistry.h"

namespace {

using Paths = std::vector<std::string>;

std::string CurrentFolder()
{
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

TEST(DocumentPath, AbsoluteJoinsTheCurrentFolderAndDropsOnlyDotsAndRepeatedSlashes)
{
    const std::string here = CurrentFolder();
    EXPECT_EQ(DocumentPath::Absolute("a.tex"), here + "/a.tex");
    EXPECT_EQ(DocumentPath::Absolute("./sub//a.tex"), here + "/sub/a.tex");
    EXPECT_EQ(DocumentPath::Absolute("/x/./y/../\x93\xFA.tex"), "/x/y/../\x93\xFA.tex");
    EXPECT_EQ(DocumentPath::Absolute("/"), "/");
    EXPECT_EQ(DocumentPath::FolderOf("/a/b.tex"), "/a/");
    EXPECT_EQ(DocumentPath::FolderOf("b.tex"), "");
}

TEST(DocumentPath, NameRulesWorkOnBytes)
{
    EXPECT_TRUE(DocumentPath::IsTexFileName("/a/Paper.TeX"));
    EXPECT_TRUE(DocumentPath::IsTexFileName("\x93\xFA.tex"));
    EXPECT_FALSE(DocumentPath::IsTexFileName("notes.txt"));
    EXPECT_FALSE(DocumentPath::IsTexFileName("tex"));
    EXPECT_TRUE(DocumentPath::HasExtension("/a/b.tex"));
    EXPECT_FALSE(DocumentPath::HasExtension("/a.d/b"));
    EXPECT_FALSE(DocumentPath::HasExtension("/a/.hidden"));
    EXPECT_FALSE(DocumentPath::HasExtension("/a/b."));
    // The history's one rule: bytes, with case.
    EXPECT_TRUE(DocumentPath::Same("/a/x.tex", "/a/x.tex"));
    EXPECT_FALSE(DocumentPath::Same("/a/x.tex", "/a/X.TEX"));
    EXPECT_FALSE(DocumentPath::Same("/a/&x.tex", "/a/x.tex"));
}

TEST(DocumentPath, DropUrlsGiveTheNamesOwnBytes)
{
    // A drop's URL carries a Shift-JIS name percent-encoded, byte for byte.
    EXPECT_EQ(DocumentFiles::LocalFileBytes(QUrl::fromEncoded("file:///tmp/%93%FA%96%7B.tex")),
              "/tmp/\x93\xFA\x96\x7B.tex");
    // Also when the URL list was read as text (tolerant parsing).
    EXPECT_EQ(DocumentFiles::LocalFileBytes(QUrl(QStringLiteral("file:///tmp/%93%FA%96%7B.tex"))),
              "/tmp/\x93\xFA\x96\x7B.tex");
    EXPECT_EQ(DocumentFiles::LocalFileBytes(QUrl::fromLocalFile(QStringLiteral("/tmp/論文 #1.tex"))),
              "/tmp/論文 #1.tex");
    EXPECT_EQ(DocumentFiles::LocalFileBytes(QUrl(QStringLiteral("https://example.org/a.tex"))), "");
}

// The reopen history and a non-UTF-8 name: what the settings hold comes
// back from the main window at the end of the run byte for byte, and the
// menu shows it decoded.
TEST(DocumentPath, HistoryBytesSurviveAWholeRunOfTheMainWindow)
{
    QTemporaryDir dir;
    const std::string ini = dir.filePath(QStringLiteral("Scrivlet.ini")).toStdString();
    const Paths stored{"/docs/\x93\xFA\x96\x7B.tex", "/docs/\xFF.tex", "/docs/論文.tex"};
    {
        IniRegistry reg(ini, TSettings::SettingsKey);
        ASSERT_TRUE(reg.OpenKey(std::string(TSettings::SettingsKey) + "\\History", true));
        for (size_t i = 0; i < stored.size(); ++i)
            reg.WriteString(std::to_string(i), stored[i]);
        reg.CloseKey();
        reg.Flush();
    }
    {
        TFormMain form(QString::fromStdString(ini));
        EXPECT_EQ(form.Documents->History(), stored);
        ASSERT_EQ(form.ReOpen->actions().size(), 3);
        EXPECT_EQ(form.ReOpen->actions().at(1)->text(), QStringLiteral("/docs/\\xFF.tex"));
    }
    IniRegistry reg(ini, TSettings::SettingsKey);
    ASSERT_TRUE(reg.OpenKey(std::string(TSettings::SettingsKey) + "\\History", false));
    for (size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(reg.ReadString(std::to_string(i)), stored[i]) << i;
}

}  // namespace
