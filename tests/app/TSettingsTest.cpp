#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <string>
#include <vector>

#include "app/TSettings.h"
#include "editor/TEditor.h"
#include "editor/core/TEditorProp.h"
#include "platform/IniRegistry.h"
#include "platform/MemoryRegistry.h"

namespace {

const std::string Key = TSettings::SettingsKey;
using Lines = std::vector<std::string>;

void Store(TRegistry& reg, const std::string& subKey, const std::string& name, const std::string& value)
{
    ASSERT_TRUE(reg.OpenKey(Key + "\\" + subKey, true));
    reg.WriteString(name, value);
    reg.CloseKey();
}

std::optional<std::string> Stored(TRegistry& reg, const std::string& subKey, const std::string& name)
{
    if (!reg.OpenKey(Key + "\\" + subKey, false) || !reg.ValueExists(name))
        return std::nullopt;
    std::string value = reg.ReadString(name);
    reg.CloseKey();
    return value;
}

// Settings read from `reg` into a fresh model and editor.
struct ReadBack {
    explicit ReadBack(TRegistry& reg) { settings.Read(reg, prop, &editor.Core()); }
    TSettings settings;
    TEditorProp prop;
    TEditor editor;
};

TEST(TSettingsTest, FirstRunGivesTheDefaultsAndLeavesTheEditorAlone)
{
    MemoryRegistry reg;
    TSettings s;
    s.Left = s.Top = s.Width = s.Height = 1;
    s.WheelMove = s.SerchRoot = s.RenewTree = s.NonStopMode = s.PageStatusVisible = s.Splitter1Visible = false;
    s.BeginMath = s.EndMath = s.ReOpen = {"x"};
    s.LaTeXPath = "x";
    TEditorProp prop;
    TEditor editor;
    editor.Core().Leftbar().SetVisible(true);
    s.Read(reg, prop, &editor.Core());

    EXPECT_EQ(std::vector<int>({s.Left, s.Top, s.Width, s.Height}), std::vector<int>({100, 100, 640, 480}));
    EXPECT_EQ(s.LaTeXPath + s.DviOutPath + s.TopPath + s.OutCommandPath, "");
    EXPECT_TRUE(s.PageStatusVisible && s.Splitter1Visible && s.WheelMove && s.SerchRoot && s.RenewTree);
    EXPECT_TRUE(s.NonStopMode);
    ASSERT_EQ(s.BeginMath.size(), 15u);
    ASSERT_EQ(s.EndMath.size(), 15u);
    EXPECT_EQ(s.BeginMath[0] + s.EndMath[0], "\\[\\]");
    EXPECT_EQ(s.BeginMath[3] + s.EndMath[3], "\\(\\)");
    EXPECT_EQ(s.BeginMath[7] + s.EndMath[7], "\\begin{multiline}\\end{multiline}");
    EXPECT_EQ(s.BeginMath[14] + s.EndMath[14], "\\begin{align*}\\end{align*}");
    EXPECT_TRUE(s.ReOpen.empty());
    EXPECT_TRUE(editor.Core().Leftbar().Visible());
}

TEST(TSettingsTest, EveryValueSurvivesAWriteAndReadThroughTheIniFile)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tsettings-" + std::to_string(::getpid()));
    const std::string path = (folder / "Scrivlet.ini").string();
    TSettings s;
    s.Left = -20;
    s.Top = 30;
    s.Height = 700;
    s.Width = 900;
    s.LaTeXPath = "/usr/bin/platex";
    s.DviOutPath = "/usr/bin/xdvi";
    s.TopPath = "/home/u/\x95\x5C.tex";
    s.OutCommandPath = "tex2pdf";
    s.PageStatusVisible = false;
    s.WheelMove = false;
    s.RenewTree = false;
    s.NonStopMode = false;
    s.BeginMath = {"\\[", "", "$$"};
    s.EndMath = {"\\]"};
    s.ReOpen = {"/a/1.tex", "/a/2.tex"};
    TEditorProp prop;
    TEditor editor;
    editor.Core().WrapOption().SetWrapByte(64);
    editor.Core().SetWordWrap(true);
    editor.Core().View().SetCommenter("#");
    {
        IniRegistry reg(path, Key);
        s.Write(reg, prop, &editor.Core());
        EXPECT_EQ(Stored(reg, "Display", "RightTree"), "False");
        EXPECT_EQ(Stored(reg, "Option", "WheelMove"), "0");
        EXPECT_EQ(Stored(reg, "Option", "SerchRoot"), "-1");
        EXPECT_EQ(Stored(reg, "Option", "NonStop"), "0");
        EXPECT_EQ(Stored(reg, "Option", "BeginMath"), "\\[\r\n\r\n$$\r\n");
        EXPECT_EQ(Stored(reg, "Window", "Left"), "-20");
        EXPECT_EQ(Stored(reg, "History", "1"), "/a/2.tex");
        EXPECT_FALSE(Stored(reg, "History", "2"));
        reg.Flush();
    }
    IniRegistry reg(path, Key);
    ReadBack r(reg);
    const TSettings& t = r.settings;
    EXPECT_EQ(std::vector<int>({t.Left, t.Top, t.Height, t.Width}), std::vector<int>({-20, 30, 700, 900}));
    EXPECT_EQ(Lines({t.LaTeXPath, t.DviOutPath, t.TopPath, t.OutCommandPath}),
              Lines({s.LaTeXPath, s.DviOutPath, s.TopPath, s.OutCommandPath}));
    EXPECT_FALSE(t.PageStatusVisible || t.Splitter1Visible || t.WheelMove || t.RenewTree || t.NonStopMode);
    EXPECT_TRUE(t.SerchRoot);
    EXPECT_EQ(t.BeginMath, s.BeginMath);
    EXPECT_EQ(t.EndMath, s.EndMath);
    EXPECT_EQ(t.ReOpen, s.ReOpen);
    EXPECT_TRUE(r.editor.Core().WordWrap());
    EXPECT_EQ(r.editor.Core().WrapOption().WrapByte(), 64);
    EXPECT_EQ(r.editor.Core().View().Commenter(), "#");
    std::filesystem::remove_all(folder);
}

TEST(TSettingsTest, FlagsFollowTheFlagRule)
{
    for (const char* text : {"True", "TRUE", "true", "1", "-1", "2", "007", "0.5", "+3"}) {
        MemoryRegistry reg;
        Store(reg, "Option", "SerchRoot", "0");
        Store(reg, "Option", "WheelMove", text);
        EXPECT_TRUE(ReadBack(reg).settings.WheelMove) << text;
    }
    for (const char* text : {"False", "FALSE", "false", "0", "-0", "000", "0.0"}) {
        MemoryRegistry reg;
        Store(reg, "Display", "RightTree", text);
        const TSettings s = ReadBack(reg).settings;
        EXPECT_FALSE(s.PageStatusVisible || s.Splitter1Visible) << text;
    }
    for (const char* text : {"", "yes", " 1", "-", ".", "Truex"}) {
        MemoryRegistry reg;
        Store(reg, "Option", "RenewTree", text);
        Store(reg, "Option", "WheelMove", "0");
        TSettings s;
        s.RenewTree = false;
        TEditorProp prop;
        const Lines problems = s.Read(reg, prop, nullptr);
        EXPECT_EQ(problems, Lines({"Option\\RenewTree: '" + std::string(text) + "' は正しい論理型ではありません"}));
        EXPECT_TRUE(s.RenewTree) << "the default";
        EXPECT_FALSE(s.WheelMove) << text;
    }
}

TEST(TSettingsTest, NumbersThatAreNotWholeDecimalsGiveTheirDefault)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"abc", 100}, {"12abc", 100}, {"", 100}, {" 5", 100}, {"5 ", 100}, {"0x10", 100},
        {"1.5", 100}, {"2147483648", 100}, {"+-1", 100}, {"-20", -20}, {"+7", 7}, {"2147483647", 2147483647},
    };
    for (const auto& [text, expected] : cases) {
        MemoryRegistry reg;
        Store(reg, "Window", "Left", text);
        EXPECT_EQ(ReadBack(reg).settings.Left, expected) << text;
    }
}

TEST(TSettingsTest, ADamagedValueGetsItsDefaultAndEveryOtherValueIsRead)
{
    MemoryRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key + "\\Window", true));
    reg.WriteBinaryData("Top", {1});
    Store(reg, "Window", "Left", "30");
    Store(reg, "Path", "LaTeX", "/usr/bin/platex");
    Store(reg, "Display", "RightTree", "yes");
    Store(reg, "Option", "SerchRoot", "0");
    Store(reg, "Option", "EndMath", "$$");
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", true));
    reg.WriteBinaryData("setting", {'j', 'u', 'n', 'k', 0, 0, 0, 0});
    Store(reg, "History", "0", "/a.tex");

    TSettings s;
    s.Top = 5;
    s.PageStatusVisible = s.Splitter1Visible = false;
    TEditorProp prop;
    TEditor editor;
    editor.Core().Ruler().SetVisible(true);
    const Lines problems = s.Read(reg, prop, &editor.Core());
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "Window\\Top: 'Top' のデータ型が不正です");
    EXPECT_EQ(problems[1], "Display\\RightTree: 'yes' は正しい論理型ではありません");  // named once
    EXPECT_TRUE(problems[2].starts_with("EditView\\setting: 保存されたエディタの設定が ")) << problems[2];
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Left, 30);
    EXPECT_EQ(s.LaTeXPath, "/usr/bin/platex");
    EXPECT_TRUE(s.PageStatusVisible && s.Splitter1Visible);
    EXPECT_FALSE(s.SerchRoot);
    EXPECT_EQ(s.EndMath, Lines({"$$"}));
    EXPECT_EQ(s.ReOpen, Lines({"/a.tex"}));
    // Nothing of the damaged property set reached the editor.
    EXPECT_TRUE(editor.Core().Ruler().Visible());

    MemoryRegistry text;
    Store(text, "EditView", "setting", "not binary");
    Store(text, "Path", "TOP", "/t.tex");
    EXPECT_EQ(s.Read(text, prop, nullptr), Lines({"EditView\\setting: 'setting' のデータ型が不正です"}));
    EXPECT_EQ(s.TopPath, "/t.tex");
}

TEST(TSettingsTest, AValueThatCouldNotBeReadIsKeptOnDiskUntilItsSettingChanges)
{
    MemoryRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key + "\\Path", true));
    reg.WriteBinaryData("DVIOUT", {'/', 'x'});
    Store(reg, "Option", "WheelMove", "yes");
    Store(reg, "Option", "RenewTree", "maybe");
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", true));
    const std::vector<uint8_t> junk = {'j', 'u', 'n', 'k', 0, 0, 0, 0};
    reg.WriteBinaryData("setting", junk);

    ReadBack r(reg);
    EXPECT_EQ(r.settings.DviOutPath, "");
    r.settings.RenewTree = false;  // the user changed this one
    r.settings.Write(reg, r.prop, &r.editor.Core());

    ASSERT_TRUE(reg.OpenKey(Key + "\\Path", false));
    EXPECT_EQ(reg.ReadBinaryData("DVIOUT"), (std::vector<uint8_t>{'/', 'x'}));
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", false));
    EXPECT_EQ(reg.ReadBinaryData("setting"), junk);
    reg.CloseKey();
    EXPECT_EQ(Stored(reg, "Option", "WheelMove"), "yes");
    EXPECT_EQ(Stored(reg, "Option", "RenewTree"), "0");
    EXPECT_EQ(Stored(reg, "Path", "LaTeX"), "");

    // A changed editor configuration is written over the damaged one.
    r.editor.Core().Ruler().SetVisible(!r.editor.Core().Ruler().Visible());
    r.settings.Write(reg, r.prop, &r.editor.Core());
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", false));
    EXPECT_NE(reg.ReadBinaryData("setting"), junk);
    reg.CloseKey();
    TSettings again;
    EXPECT_EQ(again.Read(reg, r.prop, nullptr).size(), 2u);  // DVIOUT and WheelMove, still named
}

TEST(TSettingsTest, EditViewWithoutSettingGivesTheEditorThePropertySetsOwnValues)
{
    MemoryRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key + "\\EditView", true));
    TEditorProp prop;
    TEditor editor;
    editor.Core().Leftbar().SetVisible(true);
    editor.Core().Ruler().SetVisible(true);
    TSettings().Read(reg, prop, &editor.Core());
    EXPECT_FALSE(editor.Core().Leftbar().Visible());
    EXPECT_FALSE(editor.Core().Ruler().Visible());
}

TEST(TSettingsTest, MathListsSplitAtAnyLineBreak)
{
    const std::vector<std::pair<const char*, Lines>> cases = {
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        MemoryRegistry reg;
        Store(reg, "Option", "EndMath", text);
        EXPECT_EQ(ReadBack(reg).settings.EndMath, expected) << text;
    }
}

TEST(TSettingsTest, HistoryKeepsTheFiveMostRecentInOrder)
{
    TSettings s;
    for (int i = 1; i <= 7; ++i)
        TSettings::AddHistory(s.ReOpen, "/d/" + std::to_string(i) + ".tex");
    TSettings::AddHistory(s.ReOpen, "/d/3.tex");  // the same file: moved to the top
    MemoryRegistry reg;
    TEditorProp prop;
    s.Write(reg, prop, nullptr);
    EXPECT_EQ(Stored(reg, "History", "0"), "/d/3.tex");
    EXPECT_EQ(Stored(reg, "History", "4"), "/d/4.tex");
    EXPECT_EQ(ReadBack(reg).settings.ReOpen, Lines({"/d/3.tex", "/d/7.tex", "/d/6.tex", "/d/5.tex", "/d/4.tex"}));

    // Values read later go nearer the top; a twin read earlier is dropped,
    // by the same rule as during a run: names differing in case or by a
    // '&' are other files and both stay; empty values are skipped; numbers
    // not written are left alone.
    MemoryRegistry twins;
    Store(twins, "History", "0", "/a/x.tex");
    Store(twins, "History", "1", "");
    Store(twins, "History", "2", "/b.tex");
    Store(twins, "History", "3", "/a/x.tex");
    Store(twins, "History", "4", "/A/&x.TEX");
    const Lines read = ReadBack(twins).settings.ReOpen;
    EXPECT_EQ(read, Lines({"/a/x.tex", "/b.tex", "/A/&x.TEX"}));
    TSettings two;
    two.ReOpen = {"/b.tex"};
    two.Write(twins, prop, nullptr);
    EXPECT_EQ(Stored(twins, "History", "0"), "/b.tex");
    EXPECT_EQ(Stored(twins, "History", "3"), "/a/x.tex");

    MemoryRegistry none;
    TSettings().Write(none, prop, nullptr);
    EXPECT_FALSE(none.KeyExists(Key + "\\History"));
    EXPECT_TRUE(none.KeyExists(Key + "\\EditView"));
}

TEST(TSettingsTest, AKeyThatCannotBeCreatedStopsTheWrite)
{
    struct Refusing : MemoryRegistry {
        bool OpenKey(const std::string& key, bool canCreate) override
        {
            return key.ends_with("EditView") ? false : MemoryRegistry::OpenKey(key, canCreate);
        }
    } reg;
    TEditorProp prop;
    try {
        TSettings().Write(reg, prop, nullptr);
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "キー \\Software\\Veltrane\\Scrivlet\\EditView の作成に失敗しました");
    }
    EXPECT_EQ(Stored(reg, "Path", "Out"), "");
    EXPECT_FALSE(reg.KeyExists(Key + "\\Display"));
}

}  // namespace
