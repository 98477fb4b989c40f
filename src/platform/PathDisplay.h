#pragma once
#include <string>
#include <string_view>

// The text that shows a file path to the user, in UTF-8. Paths are kept as
// the bytes the system gave and are never converted back from this text: it
// serves titles, menus and messages only.
//
// Each part between slashes is shown on its own, so that a Shift-JIS file
// name (common in archives made on Windows) inside UTF-8 folders reads
// right: a part that is valid UTF-8 is shown as it is; one that is not but
// reads as Shift-JIS through the codec is shown as that; any other part
// shows its bytes outside UTF-8 as \xHH. Control bytes show as \xHH
// everywhere, so a name never breaks a line or hides a byte.
std::string DisplayPathText(std::string_view path);
