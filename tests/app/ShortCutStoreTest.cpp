#include <QAction>
#include <QKeySequence>
#include <QObject>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/MenuActionList.h"
#include "app/ShortCutStore.h"
#include "app/ShortCutTable.h"
#include "platform/MemoryRegistry.h"

namespace {

using ShortCutStore::KeyPath;
using ShortCutStore::LoadShortCuts;
using ShortCutStore::SaveShortCuts;

QString ShortcutOf(const MenuActionList& list, const char* action)
{
    return list.Action(QString::fromLatin1(action))->shortcut().toString();
}

std::string Stored(MemoryRegistry& registry, const char* value)
{
    EXPECT_TRUE(registry.OpenKey(KeyPath, false));
    const std::string text = registry.ReadString(value);
    registry.CloseKey();
    return text;
}

void Store(MemoryRegistry& registry, const char* value, const std::string& text)
{
    registry.OpenKey(KeyPath, true);
    registry.WriteString(value, text);
    registry.CloseKey();
}

// A registry that cannot create keys.
class ReadOnlyRegistry : public MemoryRegistry {
public:
    bool OpenKey(const std::string& key, bool canCreate) override
    {
        return canCreate ? false : MemoryRegistry::OpenKey(key, false);
    }
};

TEST(ShortCutTable, MatchesTheActionTableAndItsCustomisableActions)
{
    std::set<std::string> customisable;
    for (const MenuActionEntry& entry : MenuActionList::Entries())
        if (entry.UserShortcut)
            customisable.insert(entry.Name);
    std::set<std::string> rows;
    for (const ShortCutRow& row : ShortCutTable()) {
        rows.insert(row.Action);
        for (const MenuActionEntry& entry : MenuActionList::Entries()) {
            if (std::string(entry.Name) == row.Action) {
                EXPECT_STREQ(entry.Shortcut, row.Default()) << row.Action;
            }
        }
    }
    EXPECT_EQ(rows, customisable);
    EXPECT_EQ(rows.size(), ShortCutRowCount);
    EXPECT_STREQ(ShortCutTable()[9].ValueName, "EditSelectAll");
    EXPECT_STREQ(ShortCutTable()[13].ValueName, "SerchMarkyo");
}

TEST(ShortCutStore, FirstRunGivesTheDefaultsAndWritesAll25ValuesWithoutCreatingTheKeyOnLoad)
{
    QObject owner;
    MenuActionList list(&owner);
    list.Action(QStringLiteral("RunLaTeX"))->setShortcut(QKeySequence(QStringLiteral("F5")));
    MemoryRegistry registry;
    EXPECT_TRUE(LoadShortCuts(registry, list).empty());
    EXPECT_FALSE(registry.KeyExists(KeyPath));
    EXPECT_EQ(ShortcutOf(list, "RunLaTeX"), QStringLiteral("Ctrl+F9"));  // replaced by the default
    EXPECT_EQ(ShortcutOf(list, "EditRedo1"), QStringLiteral("Ctrl+Alt+Z"));
    EXPECT_EQ(ShortcutOf(list, "EditDelete1"), QString());

    SaveShortCuts(registry, list);
    ASSERT_TRUE(registry.OpenKey(KeyPath, false));
    for (const ShortCutRow& row : ShortCutTable()) {
        EXPECT_TRUE(registry.ValueExists(row.ValueName)) << row.ValueName;
        EXPECT_EQ(registry.ReadString(row.ValueName), row.Default()) << row.ValueName;
    }
    registry.CloseKey();
}

TEST(ShortCutStore, ChangedShortcutsSurviveARestartInTheirWrittenForm)
{
    MemoryRegistry registry;
    {
        QObject owner;
        MenuActionList list(&owner);
        list.Action(QStringLiteral("RunLaTeX"))->setShortcut(QKeySequence(QStringLiteral("F5")));
        list.Action(QStringLiteral("SerchMarkup"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+K")));
        list.Action(QStringLiteral("EditSelectAll1"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
        list.Action(QStringLiteral("FileNew"))->setShortcut(QKeySequence());
        SaveShortCuts(registry, list);
    }
    EXPECT_EQ(Stored(registry, "RunLaTeX"), "F5");
    EXPECT_EQ(Stored(registry, "SerchMarkyo"), "Shift+Ctrl+K");
    EXPECT_EQ(Stored(registry, "EditSelectAll"), "Ctrl+A");
    EXPECT_EQ(Stored(registry, "FileNew"), "");

    QObject owner;
    MenuActionList list(&owner);
    EXPECT_TRUE(LoadShortCuts(registry, list).empty());
    EXPECT_EQ(ShortcutOf(list, "RunLaTeX"), QStringLiteral("F5"));
    EXPECT_EQ(ShortcutOf(list, "SerchMarkup"), QStringLiteral("Ctrl+Shift+K"));
    EXPECT_EQ(ShortcutOf(list, "EditSelectAll1"), QStringLiteral("Ctrl+A"));
    // An empty value stays empty: the default is only for a missing one.
    EXPECT_EQ(ShortcutOf(list, "FileNew"), QString());
    EXPECT_EQ(ShortcutOf(list, "FileOpen"), QStringLiteral("Ctrl+O"));
    // Names are compared without regard to case, as the registry does.
    Store(registry, "serchmarkyo", "^q");
    LoadShortCuts(registry, list);
    EXPECT_EQ(ShortcutOf(list, "SerchMarkup"), QStringLiteral("Ctrl+Q"));
    EXPECT_FALSE(registry.KeyExists("ShortCut"));  // the current key was closed again
}

TEST(ShortCutStore, ATextNamingNoKeyGivesNoShortcutAndIsKeptWhileTheActionHasNone)
{
    MemoryRegistry registry;
    Store(registry, "RunLaTeX", "Ctrl+Shft+K");
    Store(registry, "SerchMarkyo", "Ctrl+");
    Store(registry, "FileOpen", "F5");
    registry.OpenKey(KeyPath, true);
    registry.WriteBinaryData("FileSave1", {1, 2, 3});
    registry.CloseKey();

    QObject owner;
    MenuActionList list(&owner);
    const std::vector<std::string> problems = LoadShortCuts(registry, list);
    // Only the binary value is damaged: it keeps its default and is named.
    EXPECT_EQ(problems, (std::vector<std::string>{"ShortCut\\FileSave1: 'FileSave1' のデータ型が不正です"}));
    EXPECT_EQ(ShortcutOf(list, "FileSave1"), QStringLiteral("Ctrl+S"));
    EXPECT_EQ(ShortcutOf(list, "RunLaTeX"), QString());
    EXPECT_EQ(ShortcutOf(list, "SerchMarkup"), QString());
    EXPECT_EQ(ShortcutOf(list, "FileOpen"), QStringLiteral("F5"));  // the good ones still apply

    list.Action(QStringLiteral("SerchMarkup"))->setShortcut(QKeySequence(QStringLiteral("F7")));
    SaveShortCuts(registry, list);
    EXPECT_EQ(Stored(registry, "RunLaTeX"), "Ctrl+Shft+K");
    EXPECT_EQ(Stored(registry, "SerchMarkyo"), "F7");
    EXPECT_EQ(Stored(registry, "FileSave1"), "Ctrl+S");

    // Read again, the kept text still gives no shortcut.
    MenuActionList again(&owner);
    EXPECT_TRUE(LoadShortCuts(registry, again).empty());
    EXPECT_EQ(ShortcutOf(again, "RunLaTeX"), QString());
    EXPECT_EQ(ShortcutOf(again, "SerchMarkup"), QStringLiteral("F7"));
}

TEST(ShortCutStore, AKeyThatCannotBeCreatedIsReportedNotSkipped)
{
    ReadOnlyRegistry registry;
    QObject owner;
    MenuActionList list(&owner);
    EXPECT_THROW(SaveShortCuts(registry, list), ERegistryException);
    EXPECT_TRUE(LoadShortCuts(registry, list).empty());
}

}  // namespace
