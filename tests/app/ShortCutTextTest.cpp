#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ShortCutText.h"

namespace {

using namespace ShortCutText;

std::vector<std::string> AllListedNames()
{
    std::vector<std::string> names;
    for (char c = 'A'; c <= 'Z'; ++c)
        names.emplace_back(1, c);
    for (char c = '0'; c <= '9'; ++c)
        names.emplace_back(1, c);
    for (int i = 1; i <= 24; ++i)
        names.push_back("F" + std::to_string(i));
    for (const char* n : {"BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End", "Home", "Left", "Up",
                          "Right", "Down", "Ins", "Del"})
        names.emplace_back(n);
    return names;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

TEST(ShortCutText, WritesModifiersShiftCtrlAltThenTheKey)
{
    EXPECT_EQ(Write(Ctrl | Alt, "Z"), "Ctrl+Alt+Z");
    EXPECT_EQ(Write(Alt | Shift | Ctrl, "K"), "Shift+Ctrl+Alt+K");
    EXPECT_EQ(Write(Shift | Ctrl, "K"), "Shift+Ctrl+K");
    EXPECT_EQ(Write(0, "F9"), "F9");
    // Modifiers alone are no shortcut.
    EXPECT_EQ(Write(Ctrl, ""), "");
}

TEST(ShortCutText, EveryListedKeyWithEveryModifierSetReadsBackAsWritten)
{
    const std::vector<std::string> names = AllListedNames();
    EXPECT_EQ(names.size(), 75u);
    for (const std::string& name : names) {
        for (unsigned modifiers = 0; modifiers < 8; ++modifiers) {
            const std::string text = Write(modifiers, name);
            const Parts read = Read(text);
            EXPECT_EQ(read.Modifiers, modifiers) << text;
            EXPECT_EQ(read.Key, name) << text;
            EXPECT_TRUE(read.Listed) << text;
            // Any case reads the same.
            const Parts lower = Read(Lower(text));
            EXPECT_EQ(lower.Modifiers, modifiers) << text;
            EXPECT_EQ(lower.Key, name) << text;
        }
    }
}

TEST(ShortCutText, ReadsModifiersInAnyOrderAndCaseCaretAsCtrlAndIgnoresRepeatsAndOuterBlanks)
{
    struct Case {
        const char* Text;
        unsigned Modifiers;
        const char* Key;
    };
    const Case cases[] = {
        {"ctrl+shift+k", Shift | Ctrl, "K"},
        {"Alt+Shift+Ctrl+x", Shift | Ctrl | Alt, "X"},
        {"ALT+pgdn", Alt, "PgDn"},
        {"^N", Ctrl, "N"},
        {"^^n", Ctrl, "N"},
        {"Shift+^f5", Shift | Ctrl, "F5"},
        {"^Shift+Del", Shift | Ctrl, "Del"},
        {"Ctrl+Ctrl+S", Ctrl, "S"},
        {"  Ctrl+S\r\n", Ctrl, "S"},
        {"bksp", 0, "BkSp"},
        {"f24", 0, "F24"},
    };
    for (const Case& c : cases) {
        const Parts read = Read(c.Text);
        EXPECT_EQ(read.Modifiers, c.Modifiers) << c.Text;
        EXPECT_EQ(read.Key, c.Key) << c.Text;
        EXPECT_TRUE(read.Listed) << c.Text;
    }
}

TEST(ShortCutText, TextsWithoutAListedKeyAreKeptForThePlatformOrHaveNoKey)
{
    // Nothing after the modifiers: no key at all.
    for (const char* text : {"", "   ", "Ctrl+", "^", "Shift+Ctrl+Alt+", "ctrl+^"}) {
        const Parts read = Read(text);
        EXPECT_TRUE(read.Key.empty()) << text;
        EXPECT_FALSE(read.Listed) << text;
    }
    EXPECT_EQ(Read("Ctrl+").Modifiers, Ctrl);

    // Something that is not a listed name: handed on unchanged.
    struct Case {
        const char* Text;
        const char* Key;
    };
    const Case cases[] = {
        {"Ctrl+,", ","},         {"Ctrl++", "+"},       {"Shift", "Shift"},     {"Ctrl+Shift", "Shift"},
        {"Ctrl-N", "Ctrl-N"},    {"Ctrl + N", "Ctrl + N"},   {"F0", "F0"},           {"F25", "F25"},
        {"F01", "F01"},          {"F1x", "F1x"},        {"Ctrl+NN", "NN"},      {"Shft+K", "Shft+K"},
        {"Ctrl+N+", "N+"},       {"Delete", "Delete"},  {"Ctrl+\xE3\x81\x82", "\xE3\x81\x82"},
    };
    for (const Case& c : cases) {
        const Parts read = Read(c.Text);
        EXPECT_EQ(read.Key, c.Key) << c.Text;
        EXPECT_FALSE(read.Listed) << c.Text;
    }
}

TEST(ShortCutText, OddBytesAndLongTextsDoNotUpsetTheReader)
{
    const std::string withNul("Ctrl+\0N", 7);
    EXPECT_FALSE(Read(withNul).Listed);
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "Ctrl+";
    many += "Q";
    const Parts read = Read(many);
    EXPECT_EQ(read.Modifiers, Ctrl);
    EXPECT_EQ(read.Key, "Q");
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const Parts p = Read("Alt+" + one);
        const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        EXPECT_EQ(p.Listed, alnum) << b;
    }
}

}  // namespace
