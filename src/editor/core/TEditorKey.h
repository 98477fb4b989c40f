#pragma once

// The keys the editor core handles in KeyDown. The toolkit layer maps its
// own key codes onto these; characters (including BackSpace 8, TAB 9 and
// Enter 13) arrive through KeyPress instead.
enum class TEditorKey {
    PageUp,
    PageDown,
    End,
    Home,
    Left,
    Up,
    Right,
    Down,
    Delete,
};

// Modifier keys held with a key, as a set of bits.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
};
using TShiftState = unsigned;
