#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "FakeEditor.h"
#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TEditorStrings.h"

namespace {

class TextFileLoad : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes)
    {
        path_ = (std::filesystem::temp_directory_path() /
                 ("scrivlet_load_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                    .string();
        std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path_;
    }
    void TearDown() override
    {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    TEditorScreenStrings store;
    TEditorStrings lines{store};
    std::string path_;
};

TEST_F(TextFileLoad, FinalLineWithoutBreakEndsTheText)
{
    lines.LoadFromFile(Write("one\r\ntwo"));
    ASSERT_EQ(store.GetCount(), 2);
    EXPECT_EQ(store.GetRowAttribute(1), raEndOfText);
    EXPECT_EQ(lines.GetTextStr(), "one\r\ntwo");

    lines.LoadFromFile(Write("one\r\ntwo\r\n"));
    ASSERT_EQ(store.GetCount(), 2);
    EXPECT_EQ(store.GetRowAttribute(1), raLineBreak);
    EXPECT_EQ(lines.GetTextStr(), "one\r\ntwo\r\n");

    lines.LoadFromFile(Write(""));
    EXPECT_EQ(store.GetCount(), 0);
}

TEST_F(TextFileLoad, BreaksAcrossBlockEdgesCountOnce)
{
    // A CR as the last byte of the first 8 KB block, its LF first in the next.
    std::string text(8191, 'a');
    text += "\r\nb\rc\nd";
    lines.LoadFromFile(Write(text));
    ASSERT_EQ(store.GetCount(), 4);
    EXPECT_EQ(store.RowLength(0), 8191u);
    EXPECT_EQ(lines.Get(1), "b");
    EXPECT_EQ(lines.Get(3), "d");

    // A line longer than several blocks, then a lone CR on a block edge.
    std::string longer(20000, 'x');
    longer[8191] = '\r';
    longer += "\n";
    lines.LoadFromFile(Write(longer));
    ASSERT_EQ(store.GetCount(), 2);
    EXPECT_EQ(store.RowLength(0), 8191u);
    EXPECT_EQ(store.RowLength(1), 20000u - 8192u);
}

TEST_F(TextFileLoad, CtrlZEndsTheTextAndWhatFollowsIsCounted)
{
    TLoadResult r = lines.LoadFromFile(Write(std::string("ab\r\ncd\x1a") + "tail\r\n"));
    EXPECT_TRUE(r.EndedAtEof);
    EXPECT_EQ(r.BytesAfterEof, 6);
    EXPECT_EQ(lines.GetTextStr(), "ab\r\ncd");

    std::string big(10000, 'q');
    big[9000] = '\x1a';
    r = lines.LoadFromFile(Write(big));
    EXPECT_EQ(r.BytesAfterEof, 999);
    EXPECT_EQ(store.RowLength(0), 9000u);

    r = lines.LoadFromFile(Write("plain"));
    EXPECT_FALSE(r.EndedAtEof);
    EXPECT_EQ(r.BytesAfterEof, 0);
}

TEST_F(TextFileLoad, KeepsNulsLoneLeadBytesAndBackslashTrailBytes)
{
    // 表 and 能 end in 0x5C; a NUL and a lone lead byte sit among them.
    std::string bytes("\x95\x5c\x94\x5c" "a\0b\r\n\x81", 11);
    bytes += std::string(8190, 'z');
    bytes += std::string("\0end", 4);
    lines.LoadFromFile(Write(bytes));
    std::string expected = bytes;
    EXPECT_EQ(lines.GetTextStr(), expected);
    EXPECT_EQ(lines.Get(0), std::string("\x95\x5c\x94\x5c" "a\0b", 7));
}

TEST_F(TextFileLoad, MixedBreaksBecomeCrLf)
{
    lines.LoadFromFile(Write("a\nb\r\nc\rd\n\ne"));
    EXPECT_EQ(lines.GetCount(), 6);
    EXPECT_EQ(lines.GetTextStr(), "a\r\nb\r\nc\r\nd\r\n\r\ne");
}

TEST_F(TextFileLoad, MissingFileRaisesAndLeavesAnEmptyDocument)
{
    FakeEditor editor(store);
    lines.SetTextStr("old");
    EXPECT_THROW(lines.LoadFromFile("/nonexistent/dir/file.tex"), EFileError);
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_FALSE(store.UndoObj().CanUndo());
}

// What a load of `path` reports; empty when it loads.
std::string LoadError(TEditorStrings& lines, const std::string& path)
{
    try {
        lines.LoadFromFile(path);
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Path, path);
        return e.Reason;
    }
    return std::string();
}

TEST_F(TextFileLoad, OnlyRegularFilesAreReadAndReasonsAreJapanese)
{
    const std::filesystem::path dir = std::filesystem::path(Write("")).parent_path() /
        ("scrivlet_kinds_" + std::to_string(getpid()));
    std::filesystem::create_directory(dir);
    // A FIFO with no writer would block the read for ever; a link to a
    // device would read as an empty (or endless) file.
    const std::string fifo = (dir / "pipe.tex").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string device = (dir / "null.tex").string();
    std::filesystem::create_symlink("/dev/null", device);
    EXPECT_EQ(LoadError(lines, fifo), "通常のファイルではありません (名前付きパイプ)");
    EXPECT_EQ(LoadError(lines, device), "通常のファイルではありません (デバイス)");
    EXPECT_EQ(LoadError(lines, dir.string()), SystemErrorText(EISDIR));
    EXPECT_EQ(LoadError(lines, (dir / "missing.tex").string()), SystemErrorText(ENOENT));
    // A regular file through a link is read.
    std::filesystem::create_symlink(path_, dir / "link.tex");
    EXPECT_EQ(LoadError(lines, (dir / "link.tex").string()), "");
    std::filesystem::remove_all(dir);
}

TEST_F(TextFileLoad, LoadLeavesNoUndo)
{
    FakeEditor editor(store);
    store.ReplaceRows(0, 0, "typed");
    lines.LoadFromFile(Write("loaded\r\n"));
    EXPECT_FALSE(store.UndoObj().CanUndo());
    // Editing a row that points into the loaded text gives it its own copy.
    store.ReplaceRows(0, 1, "changed\r\n");
    EXPECT_EQ(lines.GetTextStr(), "changed\r\n");
    store.Undo();
    EXPECT_EQ(lines.GetTextStr(), "loaded\r\n");
}

}  // namespace
