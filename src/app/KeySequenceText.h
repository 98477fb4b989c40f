#pragma once
#include <QKeySequence>

#include <optional>
#include <string>
#include <string_view>

// Key texts (ShortCutText) turned into Qt shortcuts and back.
//
// The listed key names map to Qt's keys ("Enter" is the main Return key,
// "BkSp" Backspace, "PgDn" PageDown, ...). A key without a listed name is
// written and read by Qt's own portable name for it (",", "+", "Print",
// "Henkan"); reading accepts such a name only when it is exactly the name Qt
// gives that key. Every text written here reads back to the same key (the
// keypad's Enter is written "Enter", which reads as the main one).

// The text of the first key of `sequence` (a shortcut is one key); "" for an
// empty sequence and for a key that has no name that would read back (dead
// keys, the caret key "^", which reading takes for Ctrl). Modifiers other
// than Shift, Ctrl and Alt are not written.
std::string ShortCutToText(const QKeySequence& sequence);

// The shortcut `text` names: an empty sequence for an empty (or blank) text,
// nullopt when the text names no key ("Ctrl+", "Ctrl+Foo", "Shift").
std::optional<QKeySequence> TextToShortCut(std::string_view text);
