#include <QKeySequence>
#include <QMetaEnum>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/KeySequenceText.h"

namespace {

QKeySequence Key(Qt::KeyboardModifiers modifiers, Qt::Key key) { return QKeySequence(QKeyCombination(modifiers, key)); }

TEST(KeySequenceText, EveryListedKeyIsADistinctQtKeyAndRoundTripsWithEveryModifierSet)
{
    std::set<int> keys;
    std::string names[75];
    int n = 0;
    for (char c = 'A'; c <= 'Z'; ++c)
        names[n++] = std::string(1, c);
    for (char c = '0'; c <= '9'; ++c)
        names[n++] = std::string(1, c);
    for (int i = 1; i <= 24; ++i)
        names[n++] = "F" + std::to_string(i);
    for (const char* name : {"BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End", "Home", "Left", "Up",
                             "Right", "Down", "Ins", "Del"})
        names[n++] = name;
    ASSERT_EQ(n, 75);

    const Qt::KeyboardModifiers sets[] = {
        Qt::NoModifier,
        Qt::ShiftModifier,
        Qt::ControlModifier,
        Qt::AltModifier,
        Qt::ShiftModifier | Qt::ControlModifier,
        Qt::ControlModifier | Qt::AltModifier,
        Qt::ShiftModifier | Qt::AltModifier,
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
    };
    for (const std::string& name : names) {
        const std::optional<QKeySequence> plain = TextToShortCut(name);
        ASSERT_TRUE(plain && plain->count() == 1) << name;
        keys.insert(plain->operator[](0).toCombined());
        for (Qt::KeyboardModifiers modifiers : sets) {
            const QKeySequence shortcut = Key(modifiers, plain->operator[](0).key());
            const std::string text = ShortCutToText(shortcut);
            EXPECT_EQ(TextToShortCut(text), shortcut) << text;
        }
    }
    EXPECT_EQ(keys.size(), 75u);
}

TEST(KeySequenceText, MapsTheNamesToTheKeysTheyMean)
{
    EXPECT_EQ(TextToShortCut("Enter"), Key(Qt::NoModifier, Qt::Key_Return));
    EXPECT_EQ(TextToShortCut("bksp"), Key(Qt::NoModifier, Qt::Key_Backspace));
    EXPECT_EQ(TextToShortCut("Shift+PgDn"), Key(Qt::ShiftModifier, Qt::Key_PageDown));
    EXPECT_EQ(TextToShortCut("^Ins"), Key(Qt::ControlModifier, Qt::Key_Insert));
    EXPECT_EQ(TextToShortCut("Ctrl+Alt+Z"), QKeySequence(QStringLiteral("Ctrl+Alt+Z")));
    EXPECT_EQ(TextToShortCut("F24"), Key(Qt::NoModifier, Qt::Key_F24));
    // Typed in any order, written Shift, Ctrl, Alt.
    const std::optional<QKeySequence> typed = TextToShortCut("ctrl+shift+k");
    ASSERT_TRUE(typed);
    EXPECT_EQ(*typed, Key(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_K));
    EXPECT_EQ(ShortCutToText(*typed), "Shift+Ctrl+K");
    EXPECT_EQ(ShortCutToText(QKeySequence(QStringLiteral("Ctrl+Alt+Shift+F5"))), "Shift+Ctrl+Alt+F5");
    // The keypad's Enter is written as Enter.
    EXPECT_EQ(ShortCutToText(Key(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)), "Ctrl+Enter");
}

TEST(KeySequenceText, OtherKeysGoByQtsOwnNamesBothWays)
{
    struct Case {
        Qt::KeyboardModifiers Modifiers;
        Qt::Key Key;
        const char* Text;
    };
    const Case cases[] = {
        {Qt::ControlModifier, Qt::Key_Comma, "Ctrl+,"},
        {Qt::ControlModifier, Qt::Key_Plus, "Ctrl++"},
        {Qt::AltModifier, Qt::Key_Print, "Alt+Print"},
        {Qt::NoModifier, Qt::Key_Henkan, "Henkan"},
        {Qt::ShiftModifier, Qt::Key_F25, "Shift+F25"},
        {Qt::ControlModifier, Qt::Key_Backslash, "Ctrl+\\"},
        {Qt::ControlModifier, Qt::Key_yen, "Ctrl+\xC2\xA5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(Key(c.Modifiers, c.Key)), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), Key(c.Modifiers, c.Key)) << c.Text;
    }
    // Qt's own name for a listed key reads too, and is written by the list.
    const std::optional<QKeySequence> backspace = TextToShortCut("Ctrl+Backspace");
    ASSERT_TRUE(backspace);
    EXPECT_EQ(ShortCutToText(*backspace), "Ctrl+BkSp");
}

TEST(KeySequenceText, BlankIsNoShortcutAndTextsNamingNoKeyAreRefused)
{
    EXPECT_EQ(TextToShortCut(""), QKeySequence());
    EXPECT_EQ(TextToShortCut("  "), QKeySequence());
    EXPECT_EQ(ShortCutToText(QKeySequence()), "");
    for (const char* text : {"Ctrl+", "^", "Shift", "Ctrl+Shift", "Control", "Ctrl+Meta", "Foo", "Ctrl+Foo",
                             "Shft+K", "Ctrl-N", "Ctrl + N", "F0", "F01", "Delete", "Escape", "x,y",
                             "Ctrl+X, Ctrl+C", "Meta+X", "Ctrl+NN", "\xFF\xFE", "Ctrl+\xE3\x81"})
        EXPECT_FALSE(TextToShortCut(text).has_value()) << text;
    // Modifier keys alone are not written either.
    EXPECT_EQ(ShortCutToText(Key(Qt::ControlModifier, Qt::Key_Shift)), "");
    // A shortcut is one key: only the first of a sequence is written.
    EXPECT_EQ(ShortCutToText(QKeySequence(QStringLiteral("Ctrl+K, Ctrl+C"))), "Ctrl+K");
}

}  // namespace

namespace {

TEST(KeySequenceText, EveryKeyQtNamesIsWrittenSoThatItReadsBack)
{
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    int written = 0;
    for (int i = 0; i < keys.keyCount(); ++i) {
        const auto key = static_cast<Qt::Key>(keys.value(i));
        if (key == Qt::Key_Enter)  // the keypad's, read back as the main one
            continue;
        const QKeySequence shortcut = Key(Qt::ControlModifier | Qt::AltModifier, key);
        const std::string text = ShortCutToText(shortcut);
        if (text.empty())
            continue;
        ++written;
        EXPECT_EQ(TextToShortCut(text), shortcut) << keys.key(i) << " " << text;
    }
    EXPECT_GT(written, 200);
    // Keys without a usable name are not written.
    EXPECT_EQ(ShortCutToText(Key(Qt::ControlModifier, Qt::Key_Dead_Grave)), "");
    EXPECT_EQ(ShortCutToText(Key(Qt::ControlModifier, Qt::Key_AsciiCircum)), "");
}

}  // namespace
