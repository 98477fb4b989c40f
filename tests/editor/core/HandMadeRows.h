#pragma once
#include <string>
#include <utility>
#include <vector>

#include "editor/core/TEditorScreenStrings.h"

// Puts rows with the given attributes into the store, as word wrap makes
// them, without going through the line breaker.
inline void PutHandMadeRows(TEditorScreenStrings& s, const std::vector<std::pair<std::string, uint8_t>>& rows)
{
    s.SetPlainText("");
    TEditorStringList list;
    s.WrapText(std::nullopt, list);
    for (size_t i = 1; i < rows.size(); ++i)
        list.Add("");
    for (size_t i = 0; i < rows.size(); ++i) {
        list.Put(static_cast<int>(i), rows[i].first);
        list.SetRowAttribute(static_cast<int>(i), rows[i].second);
    }
    s.PutRows(0, s.GetCount(), list);
}
