#include "app/ShortCutStore.h"

#include <QAction>
#include <QKeySequence>
#include <QString>

#include <optional>

#include "app/KeySequenceText.h"
#include "app/MenuActionList.h"
#include "app/ShortCutTable.h"
#include "platform/TRegistry.h"

namespace ShortCutStore {

namespace {

// Closes the registry's current key however the caller leaves.
class KeyCloser {
public:
    explicit KeyCloser(TRegistry& registry) : registry_(registry) {}
    ~KeyCloser() { registry_.CloseKey(); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    TRegistry& registry_;
};

QAction* ActionOf(const MenuActionList& actions, const ShortCutRow& row)
{
    return actions.Action(QString::fromLatin1(row.Action));
}

// The shortcut stored for `row`: nullopt when the value is missing (the
// default applies) or unusable (then its name is added to `unusable`).
std::optional<QKeySequence> StoredShortCut(const TRegistry& registry, const ShortCutRow& row,
                                           std::vector<std::string>& unusable)
{
    if (!registry.ValueExists(row.ValueName))
        return std::nullopt;
    std::optional<QKeySequence> shortcut;
    try {
        shortcut = TextToShortCut(registry.ReadString(row.ValueName));
    } catch (const ERegistryException&) {
        // binary data where a text belongs
    }
    if (!shortcut)
        unusable.emplace_back(row.ValueName);
    return shortcut;
}

}  // namespace

std::vector<std::string> LoadShortCuts(TRegistry& registry, const MenuActionList& actions)
{
    std::vector<std::string> unusable;
    const bool opened = registry.OpenKey(KeyPath, false);
    std::optional<KeyCloser> closer;
    if (opened)
        closer.emplace(registry);
    for (const ShortCutRow& row : ShortCutTable()) {
        QAction* action = ActionOf(actions, row);
        if (!action)
            continue;
        std::optional<QKeySequence> shortcut;
        if (opened)
            shortcut = StoredShortCut(registry, row, unusable);
        if (!shortcut)
            shortcut = TextToShortCut(row.Default());
        action->setShortcut(shortcut.value_or(QKeySequence()));
    }
    return unusable;
}

void SaveShortCuts(TRegistry& registry, const MenuActionList& actions)
{
    TSettings::OpenKeyForWrite(registry, KeyPath);
    KeyCloser closer(registry);
    for (const ShortCutRow& row : ShortCutTable()) {
        if (const QAction* action = ActionOf(actions, row))
            registry.WriteString(row.ValueName, ShortCutToText(action->shortcut()));
    }
}

}  // namespace ShortCutStore
