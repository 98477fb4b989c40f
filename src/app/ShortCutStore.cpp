#include "app/ShortCutStore.h"

#include <QAction>
#include <QKeySequence>
#include <QString>
#include <QVariant>

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

// The text a value held that names no key: the action has no shortcut, and
// while it has none the text is written back as it was.
constexpr const char* UnnamedTextProperty = "scrivletUnnamedShortCutText";

}  // namespace

std::vector<std::string> LoadShortCuts(TRegistry& registry, const MenuActionList& actions)
{
    std::vector<std::string> problems;
    const bool opened = registry.OpenKey(KeyPath, false);
    std::optional<KeyCloser> closer;
    if (opened)
        closer.emplace(registry);
    for (const ShortCutRow& row : ShortCutTable()) {
        QAction* action = ActionOf(actions, row);
        if (!action)
            continue;
        action->setProperty(UnnamedTextProperty, QVariant());
        std::optional<std::string> text;
        if (opened && registry.ValueExists(row.ValueName)) {
            try {
                text = registry.ReadString(row.ValueName);
            } catch (const ERegistryException& error) {
                // Binary data where a text belongs: the default, and the
                // value is named.
                problems.push_back(std::string("ShortCut\\") + row.ValueName + ": " + error.what());
            }
        }
        if (!text) {
            action->setShortcut(TextToShortCut(row.Default()).value_or(QKeySequence()));
            continue;
        }
        const std::optional<QKeySequence> shortcut = TextToShortCut(*text);
        if (!shortcut)
            action->setProperty(UnnamedTextProperty, QByteArray::fromStdString(*text));
        action->setShortcut(shortcut.value_or(QKeySequence()));
    }
    return problems;
}

void SaveShortCuts(TRegistry& registry, const MenuActionList& actions)
{
    TSettings::OpenKeyForWrite(registry, KeyPath);
    KeyCloser closer(registry);
    for (const ShortCutRow& row : ShortCutTable()) {
        const QAction* action = ActionOf(actions, row);
        if (!action)
            continue;
        const QVariant unnamed = action->property(UnnamedTextProperty);
        if (action->shortcut().isEmpty() && unnamed.isValid())
            registry.WriteString(row.ValueName, unnamed.toByteArray().toStdString());
        else
            registry.WriteString(row.ValueName, ShortCutToText(action->shortcut()));
    }
}

}  // namespace ShortCutStore
