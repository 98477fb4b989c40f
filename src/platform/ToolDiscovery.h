#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DefaultApplication.h"

// Finding the programs the build tools start. Every answer is an absolute
// path: an empty or relative entry of PATH (which means the current folder,
// often a document's folder) is never searched, so a file that lies beside a
// document is never taken for a tool.
namespace ToolDiscovery {

// Whether a regular file that may be executed is at the path.
using ExecutableTest = std::function<bool(const std::string& path)>;
// The paths matching a glob(3) pattern, in any order.
using GlobFunction = std::function<std::vector<std::string>(const std::string& pattern)>;

bool IsExecutableFile(const std::string& path);
std::vector<std::string> Glob(const std::string& pattern);

// The first "DIR/name" over the absolute entries of `pathVariable` (as
// PATH: entries separated by ':') that is executable; empty when none is.
std::string FindInPath(std::string_view name, std::string_view pathVariable,
                       const ExecutableTest& isExecutable = IsExecutableFile);

// The folders where TeX Live puts its programs when it is installed from
// its own installer, newest release first.
constexpr const char* kTeXLiveBinPattern = "/usr/local/texlive/*/bin/*";

// "platex" from PATH, else from TeX Live's own folders (newest first);
// empty when there is none.
std::string DiscoverPlatex(std::string_view pathVariable, const ExecutableTest& isExecutable = IsExecutableFile,
                           const GlobFunction& glob = Glob);

// The program of the default application for DVI files (application/x-dvi,
// see DefaultApplication): the first word of its desktop entry's Exec line,
// looked up in `pathVariable` when it is a bare name. Empty when no
// application is registered, its entry has no usable Exec line or its
// program is not there.
std::string DiscoverDviViewer(const DefaultApplication::DesktopFolders& folders, std::string_view pathVariable,
                              const ExecutableTest& isExecutable = IsExecutableFile);

// The desktop entry file of a desktop entry id ("org.kde.okular.desktop"):
// looked up in DIR/applications for each data folder in order; an id with
// '-' may also name a subfolder ("kde-okular.desktop" as kde/okular.desktop).
// Empty when none exists.
std::string FindDesktopFile(std::string_view id, const std::vector<std::string>& dataFolders,
                            const std::function<bool(const std::string&)>& exists);

// The data folders of the desktop, most important first: $XDG_DATA_HOME
// (default ~/.local/share), then $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share).
std::vector<std::string> DesktopDataFolders(const char* dataHome, const char* dataDirs, const char* home);

}  // namespace ToolDiscovery
