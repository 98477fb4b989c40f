#pragma once
#include <string>

// Opening a document file for reading, shared by everything that reads a
// document: only a regular file is read. A FIFO would block the program until
// some writer appears, and a device (a link to /dev/zero, a terminal) may
// never end, so the file is opened without waiting and its kind is checked on
// the open descriptor itself, leaving no moment in which the name could be
// swapped for something else between the check and the open.
//
// Returns the descriptor, set back to ordinary blocking reads. Throws
// EFileError naming `path` with a Japanese reason.
int OpenTextFileForReading(const std::string& path);

// The whole content of the regular file at `path`, opened as above. Throws
// EFileError for a read error, or when it grows past `maxBytes`.
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes = std::string().max_size());

// The reason given for a path that names something other than a regular
// file; `mode` is its st_mode.
std::string NotRegularFileText(unsigned mode);

// The reason given for a file that holds more text than the editor can.
extern const char* const TextFileTooLargeText;
