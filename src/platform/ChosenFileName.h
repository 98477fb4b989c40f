#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A name picked in a file dialog, turned back into the system's bytes.
//
// The dialog shows and returns names as text, decoded from the bytes of the
// folder's entries. A name that is not valid in the text encoding (a
// Shift-JIS name from an archive made on Windows, say) loses bytes on the
// way, so encoding the text again gives a path that does not exist. Each
// part of the path that does not exist as encoded is therefore looked up in
// its folder: the one entry whose decoded name is that part is the one the
// user saw. A part that matches no entry, or more than one, is kept as
// encoded, as is everything after it: a new name typed for a save, or a name
// that the open then reports as missing.
namespace ChosenFileName {

struct NameCodec {
    // The dialog's text (UTF-8) to the system's bytes.
    std::function<std::string(std::string_view text)> Encode;
    // A name's bytes to the text the dialog shows for it (UTF-8).
    std::function<std::string(std::string_view bytes)> Decode;
};

// The names of a folder's entries as bytes, "." and ".." left out; none
// when the folder cannot be read.
using FolderLister = std::function<std::optional<std::vector<std::string>>(const std::string& folder)>;
using PathTest = std::function<bool(const std::string& path)>;

// The system path of the dialog's `chosen` text.
std::string SystemPath(std::string_view chosen, const NameCodec& codec, const FolderLister& list,
                       const PathTest& exists);

// The system's own folder listing (readdir) and existence test (lstat: a
// dangling link exists too).
std::optional<std::vector<std::string>> FolderEntryNames(const std::string& folder);
bool PathExists(const std::string& path);

}  // namespace ChosenFileName
