#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/AtomicFileWriter.h"
#include "app/DocumentFile.h"
#include "app/DocumentOpenNotice.h"
#include "app/EncodingGuess.h"
#include "app/FileLineBreaks.h"
#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "editor/core/TEditorStrings.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards whatever its permissions.
class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "scrivlet_docfile_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // What is in the folder besides the named files: leftovers of a save.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Opens as the program does: inspect, then load into the editor's lines.
    DocumentFile Open(const std::string& path)
    {
        DocumentFile file = DocumentFile::Inspect(path);
        file.LoadText(path, lines);
        return file;
    }

    fs::path dir_;
    TEditorScreenStrings store;
    TEditorStrings lines{store};
};

TEST_F(DocumentFileTest, LoadAndSaveWithoutEditsGivesTheSameBytes)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"crlf", "\\documentclass{jarticle}\r\n\\begin{document}\r\n\\end{document}\r\n"},
        {"lf", "one\ntwo\n\nfour\n"},
        {"cr", "one\rtwo\r"},
        {"no final break", "one\ntwo"},
        {"empty", ""},
        {"only a break", "\r\n"},
        // 0x95 0x5C is one kanji whose second byte is a backslash.
        {"sjis with 0x5C trail bytes", "\x95\x5C\x8E\xA6\\\\\n\x83\x5C\x83\x74\x83\x67\n"},
        {"nul bytes", std::string("a\0b\n\0\n", 6)},
        {"invalid sjis", "\x81\n\x80\xA0\xFD\xFE\xFF\n\x81\r\n\x9F"},
        {"mixed", "a\r\nb\nc\rd\n\re\r\n"},
        {"ctrl-z at the end", "text\r\n\x1a"},
        {"utf-8", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write("in.tex", c.bytes);
        DocumentFile file = Open(path);
        file.Save(PathOf("out.tex"), lines.GetTextStr());
        EXPECT_EQ(Read(PathOf("out.tex")), c.bytes);
        // And again from what the first save left.
        file.Save(PathOf("out.tex"), lines.GetTextStr());
        EXPECT_EQ(Read(PathOf("out.tex")), c.bytes);
    }
}

TEST_F(DocumentFileTest, NewLinesTakeTheFileConvention)
{
    // The editor's text always joins lines with CR LF.
    const std::string edited = "a\r\nnew\r\nb\r\n";
    DocumentFile lf = Open(Write("lf.tex", "a\nb\n"));
    lf.Save(PathOf("lf.tex"), edited);
    EXPECT_EQ(Read(PathOf("lf.tex")), "a\nnew\nb\n");

    DocumentFile crlf = Open(Write("crlf.tex", "a\r\nb\r\n"));
    crlf.Save(PathOf("crlf.tex"), edited);
    EXPECT_EQ(Read(PathOf("crlf.tex")), edited);

    DocumentFile cr = Open(Write("cr.tex", "a\rb\r"));
    cr.Save(PathOf("cr.tex"), edited);
    EXPECT_EQ(Read(PathOf("cr.tex")), "a\rnew\rb\r");

    // A new document, and a file without any break, use this platform's LF.
    DocumentFile fresh;
    fresh.Save(PathOf("new.tex"), edited);
    EXPECT_EQ(Read(PathOf("new.tex")), "a\nnew\nb\n");
    DocumentFile oneLine = Open(Write("one.tex", "a"));
    oneLine.Save(PathOf("one.tex"), "a\r\nb");
    EXPECT_EQ(Read(PathOf("one.tex")), "a\nb");
}

TEST_F(DocumentFileTest, MixedFileKeepsTheBreaksOfUneditedLines)
{
    // Two LF, two CR LF: LF wins the tie for new breaks.
    DocumentFile file = Open(Write("m.tex", "a\nb\r\nc\nd\r\n"));
    EXPECT_TRUE(file.LineBreaks().Mixed());
    EXPECT_EQ(file.LineBreaks().Style(), LineBreak::Lf);

    // Editing line b keeps its break and everyone else's.
    file.Save(PathOf("m.tex"), "a\r\nB\r\nc\r\nd\r\n");
    EXPECT_EQ(Read(PathOf("m.tex")), "a\nB\r\nc\nd\r\n");

    // A line inserted after c gets LF; the lines around it keep theirs, also
    // on a later save that starts from what this one wrote.
    file.Save(PathOf("m.tex"), "a\r\nB\r\nc\r\nnew\r\nd\r\n");
    EXPECT_EQ(Read(PathOf("m.tex")), "a\nB\r\nc\nnew\nd\r\n");
    file.Save(PathOf("m.tex"), "a\r\nB\r\nc\r\nnew\r\nd\r\ne");
    EXPECT_EQ(Read(PathOf("m.tex")), "a\nB\r\nc\nnew\nd\r\ne");

    // Everything replaced: every break is the common kind, and the file is
    // no longer mixed.
    file.Save(PathOf("m.tex"), "x\r\ny\r\n");
    EXPECT_EQ(Read(PathOf("m.tex")), "x\ny\n");
    EXPECT_FALSE(file.LineBreaks().Mixed());
}

TEST_F(DocumentFileTest, ScannerSplitsBreaksAsTheLoaderDoes)
{
    // A CR at the end of one piece pairs with an LF at the start of the next.
    FileLineBreaks::Scanner split;
    split.Feed("a\r");
    split.Feed("\nb");
    FileLineBreaks pair = split.Finish();
    EXPECT_EQ(pair.Count(LineBreak::CrLf), 1u);
    EXPECT_FALSE(pair.Mixed());
    EXPECT_EQ(pair.Style(), LineBreak::CrLf);

    FileLineBreaks::Scanner lone;
    lone.Feed("a\r");
    lone.Feed("b\n\n\r");
    FileLineBreaks kinds = lone.Finish();
    EXPECT_EQ(kinds.Count(LineBreak::Cr), 2u);
    EXPECT_EQ(kinds.Count(LineBreak::Lf), 2u);
    EXPECT_TRUE(kinds.Mixed());

    // Loaded text whose breaks do not match the scan (the file changed in
    // between): no memory of single breaks, every break the common kind.
    FileLineBreaks::Scanner mixed;
    mixed.Feed("a\r\nb\nc\n");
    FileLineBreaks stale = mixed.Finish();
    stale.RememberLoadedText("a\r\nb\r\n");
    std::string out;
    stale.Write("a\r\nb\r\nc\r\n", [&out](std::string_view s) { out += s; });
    EXPECT_EQ(out, "a\nb\nc\n");
}

TEST_F(DocumentFileTest, BytesAfterCtrlZAreCountedAndTheNoticeSaysSaveDropsThem)
{
    DocumentFile file = Open(Write("z.tex", std::string("ab\r\ncd\x1a") + "tail\r\n"));
    EXPECT_TRUE(file.EndsAtEof());
    EXPECT_EQ(file.BytesAfterEof(), 6);
    EXPECT_EQ(lines.GetTextStr(), "ab\r\ncd");
    const std::string notice = DocumentOpenNotice(file);
    EXPECT_NE(notice.find("EOF 文字 (Ctrl+Z)"), std::string::npos);
    EXPECT_NE(notice.find("6 バイト"), std::string::npos);
    EXPECT_NE(notice.find("保存すると"), std::string::npos);

    // The save keeps the Ctrl-Z and drops what followed it.
    file.Save(PathOf("z.tex"), lines.GetTextStr());
    EXPECT_EQ(Read(PathOf("z.tex")), "ab\r\ncd\x1a");
    EXPECT_EQ(file.BytesAfterEof(), 0);

    // A Ctrl-Z as the very last byte loses nothing: no notice.
    EXPECT_EQ(DocumentOpenNotice(Open(Write("end.tex", "ab\x1a"))), "");
}

TEST_F(DocumentFileTest, EncodingGuess)
{
    EXPECT_EQ(GuessEncoding("\\section{x}\n", false), TextEncoding::ShiftJis);
    // "日本語のテキスト" in Shift-JIS, a 0x5C trail byte among them.
    EXPECT_EQ(GuessEncoding("\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\x95\x5C", false),
              TextEncoding::ShiftJis);
    // A stray invalid byte or two in Shift-JIS text is still Shift-JIS.
    EXPECT_EQ(GuessEncoding("\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x82\xCC\x82\xCC\xFF \x81",
                            false),
              TextEncoding::ShiftJis);

    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 日本語
    EXPECT_EQ(GuessEncoding(utf8, false), TextEncoding::Utf8);
    EXPECT_EQ(GuessEncoding("\xEF\xBB\xBF" "abc", false), TextEncoding::Utf8);
    // Cut in the middle of a character: UTF-8 only if the file goes on.
    const std::string cut = utf8.substr(0, 7);
    EXPECT_EQ(GuessEncoding(cut, true), TextEncoding::Utf8);
    EXPECT_NE(GuessEncoding(cut, false), TextEncoding::Utf8);
    // Overlong forms are not UTF-8.
    EXPECT_NE(GuessEncoding("\xC0\xAF\xC0\xAF", false), TextEncoding::Utf8);

    EXPECT_EQ(GuessEncoding(std::string("\xFF\xFE" "a\0", 4), false), TextEncoding::Utf16);
    EXPECT_EQ(GuessEncoding(std::string("\\\0s\0e\0c\0t\0i\0o\0n\0", 16), false), TextEncoding::Utf16);
    EXPECT_EQ(GuessEncoding(std::string("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0", 16), false),
              TextEncoding::Binary);
    EXPECT_EQ(GuessEncoding("\xC6\xFC\xCB\xDC\xB8\xEC", false), TextEncoding::EucJp);  // 日本語
    EXPECT_EQ(GuessEncoding("\x1b$BF|K\\8l\x1b(B", false), TextEncoding::Iso2022Jp);
    EXPECT_EQ(GuessEncoding("caf\xE9 cr\xE8me, \xE0 la fran\xE7" "aise", false), TextEncoding::Unknown);
}

TEST_F(DocumentFileTest, EncodingIsGuessedFromTheFileStartOnlyAndToldOnce)
{
    // UTF-8 far past the sample is not looked at.
    std::string late(kEncodingSampleSize + 10, 'a');
    late += "\xE6\x97\xA5";
    EXPECT_EQ(Open(Write("late.tex", late)).Encoding(), TextEncoding::ShiftJis);

    DocumentFile utf8 = Open(Write("u.tex", "\xE6\x97\xA5\xE6\x9C\xAC\n"));
    EXPECT_EQ(utf8.Encoding(), TextEncoding::Utf8);
    const std::string notice = DocumentOpenNotice(utf8);
    EXPECT_NE(notice.find("UTF-8"), std::string::npos);
    EXPECT_NE(notice.find("そのまま"), std::string::npos);
    EXPECT_EQ(DocumentOpenNotice(Open(Write("s.tex", "\x93\xFA\x96\x7B\n"))), "");
}

TEST_F(DocumentFileTest, UnreadableFileLeavesTheEditorAlone)
{
    lines.SetTextStr("kept");
    try {
        DocumentFile::Inspect(PathOf("missing.tex"));
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Path, PathOf("missing.tex"));
        EXPECT_EQ(e.Reason, SystemErrorText(ENOENT));
    }
    EXPECT_THROW(DocumentFile::Inspect(dir_.string()), EFileError);
    EXPECT_EQ(lines.GetTextStr(), "kept");
}

TEST_F(DocumentFileTest, FifosAndDevicesAreNeitherReadNorWritten)
{
    // Opening a FIFO to read it would wait for a writer; saving into one
    // would wait for a reader.
    const std::string fifo = PathOf("pipe.tex");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir_ / "zero.tex");
    for (const std::string& path : {fifo, PathOf("zero.tex")}) {
        SCOPED_TRACE(path);
        try {
            DocumentFile::Inspect(path);
            ADD_FAILURE() << "read";
        } catch (const EFileError& e) {
            EXPECT_EQ(e.Reason.rfind("通常のファイルではありません", 0), 0u) << e.Reason;
        }
        try {
            DocumentFile().Save(path, "x");
            ADD_FAILURE() << "written";
        } catch (const EFileError& e) {
            EXPECT_EQ(e.Reason.rfind("通常のファイルではありません", 0), 0u) << e.Reason;
        }
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"pipe.tex", "zero.tex"}));
}

// --- saving atomically --------------------------------------------------------------

TEST_F(DocumentFileTest, SaveKeepsPermissionsAndLeavesNoTemporaryFile)
{
    const std::string path = Write("p.tex", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    DocumentFile().Save(path, "new");
    EXPECT_EQ(Read(path), "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A new file gets the usual mode under the umask.
    const mode_t mask = umask(022);
    DocumentFile().Save(PathOf("fresh.tex"), "x");
    umask(mask);
    ASSERT_EQ(stat(PathOf("fresh.tex").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"fresh.tex", "p.tex"}));
}

TEST_F(DocumentFileTest, SaveThroughASymlinkReplacesTheFileItPointsTo)
{
    fs::create_directory(dir_ / "real");
    Write("real/doc.tex", "old");
    fs::create_symlink("real/doc.tex", dir_ / "link1.tex");  // relative
    fs::create_symlink(dir_ / "link1.tex", dir_ / "link2.tex");  // a chain
    DocumentFile().Save(PathOf("link2.tex"), "new");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link1.tex"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link2.tex"));
    EXPECT_EQ(Read(PathOf("real/doc.tex")), "new");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link1.tex", "link2.tex", "real"}));

    // A dangling link: the file it names is created.
    fs::create_symlink("real/later.tex", dir_ / "dangling.tex");
    DocumentFile().Save(PathOf("dangling.tex"), "made");
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.tex"));
    EXPECT_EQ(Read(PathOf("real/later.tex")), "made");
}

TEST_F(DocumentFileTest, FailedSaveLeavesTheOldFileAndReportsTheReason)
{
    // The target is a folder.
    fs::create_directory(dir_ / "folder.tex");
    try {
        DocumentFile().Save(PathOf("folder.tex"), "x");
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Path, PathOf("folder.tex"));
        EXPECT_EQ(e.Reason, SystemErrorText(EISDIR));
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.tex"));

    // The folder does not exist.
    EXPECT_THROW(DocumentFile().Save(PathOf("nowhere/a.tex"), "x"), EFileError);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder.tex"}));
}

TEST_F(DocumentFileTest, SaveIntoAReadOnlyFolderOrFileFails)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    // A new file in a folder that takes none.
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    EXPECT_THROW(DocumentFile().Save(PathOf("new.tex"), "new"), EFileError);
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
    EXPECT_EQ(Entries(), std::vector<std::string>{});

    // A file the user made read-only is not replaced.
    const std::string path = Write("ro.tex", "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_THROW(DocumentFile().Save(path, "new"), EFileError);
    EXPECT_EQ(Read(path), "old");
}

TEST_F(DocumentFileTest, WriteErrorLeavesTheOldFileAndTheDocumentState)
{
    // A file-size limit makes write() fail part way, as a full disk does.
    const std::string old = std::string("old\r\n\x1a") + "tail";
    const std::string path = Write("big.tex", old);
    DocumentFile file = Open(path);
    ASSERT_EQ(file.BytesAfterEof(), 4);

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string reason;
    try {
        file.Save(path, std::string(3 << 20, 'x'));
    } catch (const EFileError& e) {
        reason = e.Reason;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(reason, SystemErrorText(EFBIG));
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"big.tex"}));
    EXPECT_EQ(file.BytesAfterEof(), 4);
}

TEST_F(DocumentFileTest, NamesUpToTheSystemLimitAreSaved)
{
    // 83 kanji in UTF-8 and ".tex": 253 bytes of the 255 a name may have.
    std::string name;
    for (int i = 0; i < 83; ++i)
        name += "\xE6\x97\xA5";
    name += ".tex";
    ASSERT_EQ(name.size(), 253u);
    DocumentFile().Save(PathOf(name), "first");
    DocumentFile().Save(PathOf(name), "second");  // replacing it too
    EXPECT_EQ(Read(PathOf(name)), "second");
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
}

TEST_F(DocumentFileTest, FileWithSeveralLinksIsWrittenInPlaceForEveryName)
{
    const std::string path = Write("doc.tex", "old text");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(link(path.c_str(), PathOf("other.tex").c_str()), 0);
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);

    DocumentFile().Save(path, "new");
    EXPECT_EQ(Read(path), "new");
    EXPECT_EQ(Read(PathOf("other.tex")), "new");
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    // The backup made before writing is gone after a good write.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"doc.tex", "other.tex"}));
}

TEST_F(DocumentFileTest, FailedWriteInPlacePutsTheOldBytesBack)
{
    const std::string old = "old\r\ntext\r\n";
    const std::string path = Write("doc.tex", old);
    ASSERT_EQ(link(path.c_str(), PathOf("other.tex").c_str()), 0);

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string reason;
    try {
        DocumentFile().Save(path, std::string(1 << 20, 'x'));
    } catch (const EFileError& e) {
        reason = e.Reason;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(reason.rfind(SystemErrorText(EFBIG), 0), 0u) << reason;
    EXPECT_NE(reason.find("元のまま"), std::string::npos) << reason;
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(Read(PathOf("other.tex")), old);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"doc.tex", "other.tex"}));
}

TEST_F(DocumentFileTest, WritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string path = Write("doc.tex", "old");
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    // The backup cannot go beside the file: it goes to the cache folder
    // and is removed after the write.
    fs::create_directory(dir_ / "cache");
    const char* savedCache = std::getenv("XDG_CACHE_HOME");
    const std::string restoreCache = savedCache ? savedCache : "";
    setenv("XDG_CACHE_HOME", PathOf("cache").c_str(), 1);
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    std::string error;
    try {
        DocumentFile().Save(path, "new");
    } catch (const EFileError& e) {
        error = e.Reason;
    }
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
    if (savedCache)
        setenv("XDG_CACHE_HOME", restoreCache.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");

    EXPECT_EQ(error, "");
    EXPECT_EQ(Read(path), "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"cache", "doc.tex"}));
    EXPECT_TRUE(fs::is_empty(dir_ / "cache" / "Scrivlet" / "backup"));
}

TEST_F(DocumentFileTest, WriterDroppedWithoutCommitChangesNothing)
{
    const std::string path = Write("a.tex", "old");
    {
        AtomicFileWriter writer(path);
        writer.Write("new");
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.tex"}));

    // Nor when the file would be written in place.
    ASSERT_EQ(link(path.c_str(), PathOf("b.tex").c_str()), 0);
    {
        AtomicFileWriter writer(path);
        EXPECT_TRUE(writer.InPlace());
        writer.Write("new");
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.tex", "b.tex"}));
}

}  // namespace
