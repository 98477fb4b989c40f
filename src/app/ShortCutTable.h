#pragma once
#include <array>
#include <cstddef>

// One action whose shortcut the user may change: its text in the shortcut
// editor's list, the action, and the settings value that stores the
// shortcut. Texts are UTF-8.
struct ShortCutRow {
    const char* ListText;
    const char* Action;
    const char* ValueName;

    // The default key text ("" for none): the action table's.
    const char* Default() const;
};

inline constexpr std::size_t ShortCutRowCount = 25;

// The customisable actions in the editor's list order. Two value names
// differ from their actions: "EditSelectAll" (EditSelectAll1) and
// "SerchMarkyo" (SerchMarkup).
const std::array<ShortCutRow, ShortCutRowCount>& ShortCutTable();
