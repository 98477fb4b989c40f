#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The desktop's default application for a MIME type, as the desktop's own
// "open" chooses it: the first installed desktop entry named by a user or
// system default (mimeapps.list in the configuration folders, then in the
// data folders' applications/, then the older defaults.list), else the
// first installed entry the applications' cache (mimeinfo.cache) associates
// with the type.
namespace DefaultApplication {

// The text of a file, or nothing when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
using FileTest = std::function<bool(const std::string& path)>;

// The lists to read, most important first: for each configuration folder
// ($XDG_CONFIG_HOME, default ~/.config, then $XDG_CONFIG_DIRS, default
// /etc/xdg) its mimeapps.list, then for each data folder (`dataFolders`)
// applications/mimeapps.list and applications/defaults.list.
std::vector<std::string> DefaultListFiles(const char* configHome, const char* configDirs, const char* home,
                                          const std::vector<std::string>& dataFolders);

// The desktop entry file of the default application for the type; empty
// when there is none. `dataFolders` as ToolDiscovery::DesktopDataFolders.
std::string DesktopFileFor(std::string_view mimeType, const std::vector<std::string>& listFiles,
                           const std::vector<std::string>& dataFolders, const FileReader& read,
                           const FileTest& exists);

// The same on this system, from the process's environment and files.
std::string DesktopFileFor(std::string_view mimeType);

// The program and arguments that open `file` with the default application
// for the type (its desktop entry's Exec line); empty when there is none.
std::vector<std::string> CommandToOpen(std::string_view mimeType, const std::string& file);

}  // namespace DefaultApplication
