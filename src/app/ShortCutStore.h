#pragma once
#include <string>

#include "app/TSettings.h"
#include <vector>

class MenuActionList;
class TRegistry;

// The customisable shortcuts (ShortCutTable) in the settings: one string
// value per row under the subkey "ShortCut" of the settings key, holding the
// key text; an empty text means no shortcut. Read once at start, after the
// other settings, and written once at the end, after them.
namespace ShortCutStore {

// The key's path from the registry's root.
inline const std::string KeyPath = std::string(TSettings::SettingsKey) + "\\ShortCut";

// Gives each row's action the stored shortcut, replacing the one it had. A
// missing key or value gives the default. A text that names no key gives no
// shortcut. Every value is read on its own: one that holds binary data gets
// the default and is listed ("ShortCut\\FileSave1: 'FileSave1' のデータ型が不正です"),
// and the others are read all the same. Returns those lines in table order.
// Creates no key.
std::vector<std::string> LoadShortCuts(TRegistry& registry, const MenuActionList& actions);

// Writes every row's action's current shortcut as key text (empty when it
// has none; a stored text that named no key is written back as it was while
// the action still has none), creating the key when it is missing. Throws ERegistryException
// when the key cannot be opened or created.
void SaveShortCuts(TRegistry& registry, const MenuActionList& actions);

}  // namespace ShortCutStore
