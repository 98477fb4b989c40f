#pragma once
#include <functional>
#include <optional>
#include <string>

// The association of .tex files with the program, as the desktop keeps it:
//
//   - a desktop entry of our own, DATA/applications/scrivlet-texfile.desktop
//     ($XDG_DATA_HOME, default ~/.local/share), whose Exec line holds the
//     full path of the program that made it, so that a file manager starts
//     this very program with the file;
//   - the user's default application for text/x-tex in
//     CONFIG/mimeapps.list ($XDG_CONFIG_HOME, default ~/.config), naming
//     that entry.
//
// The association is on when the user's mimeapps.list has a default for
// text/x-tex, whoever set it. Toggling it off removes that default, then
// our desktop entry; toggling it on writes our desktop entry, then the
// default. Every other byte of mimeapps.list stays as it was (a damaged line
// or a missing final line break included) and the file is replaced
// atomically. A step that fails ends the toggle: what the steps before it
// did stays.
namespace FileAssociation {

constexpr const char* kMimeType = "text/x-tex";
constexpr const char* kDesktopId = "scrivlet-texfile.desktop";

constexpr const char* kRemovedMessage = ".texファイルの関連づけを削除しました。";
constexpr const char* kAssociatedMessage = ".texファイルをScrivletに関連づけました。";
// %s: the file that could not be changed.
constexpr const char* kFailedMessage = "'%s' の設定に失敗しました";

struct Places {
    std::string MimeAppsFile;        // CONFIG/mimeapps.list
    std::string ApplicationsFolder;  // DATA/applications
    std::string DesktopFile;         // DATA/applications/scrivlet-texfile.desktop
};

// From environment values (null, empty or relative: unset).
Places PlacesFrom(const char* configHome, const char* dataHome, const char* home);
Places ProcessPlaces();

// Whether the text of a mimeapps.list holds a user default for .tex files.
bool IsOn(const std::string& mimeAppsText);

// Our desktop entry for the program at `programPath`. Throws
// std::invalid_argument for a path a desktop entry cannot hold (a line
// break or another control character, or bytes that are not UTF-8).
std::string DesktopFileText(const std::string& programPath);

// The file operations a toggle uses. Each throws (EFileError) on failure.
struct FileOperations {
    // The file's bytes; nothing when it does not exist.
    std::function<std::optional<std::string>(const std::string& path)> Read;
    // Replaces the file atomically, making its folders when missing.
    std::function<void(const std::string& path, const std::string& bytes)> Write;
    // Removes the file; one that does not exist is no error.
    std::function<void(const std::string& path)> Remove;
};
FileOperations DiskOperations();

struct Outcome {
    bool Succeeded = false;
    bool On = false;         // the state now (on success), or the state that was being left
    std::string FailedPath;  // on failure: the file that could not be read or changed
    std::string Reason;      // on failure: why
    // The message for the user: one of the texts above (UTF-8; the path as
    // DisplayPathText shows it), on failure followed by a line with the reason.
    std::string Message() const;
};

// Reads the state and moves to the other one.
Outcome Toggle(const Places& places, const std::string& programPath, const FileOperations& files = DiskOperations());

}  // namespace FileAssociation
