#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which application the desktop opens a type of file with, by the rules of
// the desktop's default-applications files:
//
//   1. the "[Default Applications]" line for the type in each mimeapps.list,
//      most important first: CONFIG/DESKTOP-mimeapps.list and
//      CONFIG/mimeapps.list for every configuration folder, then the same
//      names in DATA/applications for every data folder; each line names
//      desktop entries in order of preference, and the first one installed
//      is the answer;
//   2. the older DATA/applications/defaults.list files, read the same way;
//   3. the "[Added Associations]" of the mimeapps.list files, then the
//      "[MIME Cache]" of DATA/applications/mimeinfo.cache, which list the
//      installed applications that take the type; an entry that a
//      "[Removed Associations]" line takes away is passed over here.
namespace DefaultApplication {

// The folders the lookup reads, most important first.
struct DesktopFolders {
    std::vector<std::string> ConfigFolders;  // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    std::vector<std::string> DataFolders;    // $XDG_DATA_HOME, then $XDG_DATA_DIRS
    std::vector<std::string> Desktops;       // $XDG_CURRENT_DESKTOP's names, lower case
};

// The folders from environment values (null or empty: unset) as the base
// directory rules give their defaults: ~/.config, /etc/xdg, ~/.local/share,
// /usr/local/share:/usr/share. Relative entries are dropped.
DesktopFolders FoldersFrom(const char* configHome, const char* configDirs, const char* dataHome,
                           const char* dataDirs, const char* currentDesktop, const char* home);
// The running process's folders.
DesktopFolders ProcessFolders();

// The content of a file; nothing when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
using FileTest = std::function<bool(const std::string& path)>;

std::optional<std::string> ReadFile(const std::string& path);
bool IsRegularFile(const std::string& path);

// The desktop entry file of the default application for `mimeType`; empty
// when there is none.
std::string DesktopFileFor(const DesktopFolders& folders, std::string_view mimeType,
                           const FileReader& read = ReadFile, const FileTest& exists = IsRegularFile);

// The program and arguments that open `file` with the running desktop's
// default application for the type (its desktop entry's Exec line); empty
// when there is none.
std::vector<std::string> CommandToOpen(std::string_view mimeType, const std::string& file);

// The ids of a list value ("a.desktop;b.desktop;"), blanks and empty ones dropped.
std::vector<std::string> SplitIds(std::string_view value);

}  // namespace DefaultApplication
