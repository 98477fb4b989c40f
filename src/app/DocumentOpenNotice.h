#pragma once
#include <string>

class DocumentFile;

// What the user should know right after a file was opened, in UTF-8: that
// bytes after a Ctrl-Z were not loaded and a save will drop them, and that
// the file looks like another encoding than Shift-JIS and its bytes are kept
// as they are. Empty when there is nothing to say.
std::string DocumentOpenNotice(const DocumentFile& file);
