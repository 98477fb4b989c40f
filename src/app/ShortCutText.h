#pragma once
#include <string>
#include <string_view>

// The written form of a keyboard shortcut, as the shortcut editor shows it and
// the settings store it: the modifiers "Shift+", "Ctrl+", "Alt+" in this
// order, then the key's name ("Ctrl+Alt+Z", "F9", "Shift+Ctrl+K").
//
// The listed key names are the letters "A" to "Z", the digits "0" to "9",
// "F1" to "F24", and "BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn",
// "End", "Home", "Left", "Up", "Right", "Down", "Ins", "Del". Other keys are
// named as the window toolkit names them; which of those exist is decided
// there, not here (see KeySequenceText).
//
// Reading is lenient: modifiers in any order and any case, repeated or not,
// "^" for "Ctrl+", the key name in any case, and blanks around the whole text.
namespace ShortCutText {

enum Modifier : unsigned {
    Shift = 1,
    Ctrl = 2,
    Alt = 4,
};

// A text split into its modifiers and its key name.
struct Parts {
    unsigned Modifiers = 0;
    // A listed name in its written form ("PgDn" for "pgdn"), or else what
    // followed the modifiers, unchanged. Empty when nothing followed them.
    std::string Key;
    // Whether Key is one of the listed names.
    bool Listed = false;
};

// "Shift+" "Ctrl+" "Alt+" as set in `modifiers`, then `key`; empty when
// `key` is empty, since modifiers alone are no shortcut.
std::string Write(unsigned modifiers, std::string_view key);

// Splits `text`. The key part is empty for an empty text and for modifiers
// with nothing after them ("Ctrl+", "^").
Parts Read(std::string_view text);

// The written form of a listed key name matched without regard to case
// ("pgup" gives "PgUp", "f12" gives "F12"); empty when `name` is not listed.
std::string ListedKeyName(std::string_view name);

}  // namespace ShortCutText
