#pragma once
#include <filesystem>
#include <functional>

// Where the candidate lists are read and saved.
//
// The lists ship in the program's data folder (commands/). When the user may
// write there, that folder is used, so that the command-list editor changes
// the lists beside the program. Otherwise (an installed program under
// /usr) the user gets a copy of their own in USERDATA/Scrivlet/commands/
// (USERDATA being $XDG_DATA_HOME, by default ~/.local/share): the folder is
// made when missing, and every shipped file the copy lacks is copied into
// it. Files already there are the user's and are never overwritten.
namespace CommandsFolder {

// Whether the user may create and replace files in `folder`.
bool Writable(const std::filesystem::path& folder);

// The folder to use for the shipped lists in `installed`, with the user's
// data folder `userData`. `writable` decides whether `installed` can take
// the user's changes (Writable, unless a test says otherwise). Failures to
// make or seed the copy are not reported here: a list that is then missing
// is reported when it is read.
std::filesystem::path Choose(const std::filesystem::path& installed, const std::filesystem::path& userData,
                             const std::function<bool(const std::filesystem::path&)>& writable = Writable);

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
std::filesystem::path UserDataHome();

}  // namespace CommandsFolder
