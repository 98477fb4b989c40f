#pragma once
#include <optional>
#include <string>
#include <vector>

#include "build/TypesetterLog.h"

// Where a double click in the error list leads: the file and line of the
// error entry the clicked row belongs to.
//
// The rows form entries of four rows each, followed by the log's last line;
// a click on that last row, or in a list of two rows or fewer, leads nowhere,
// and so does an entry that names no line.
struct ErrorJump {
    // The file as the log names it (Shift-JIS bytes, "./chap2.tex"); empty
    // when the error was met outside any file the log opened.
    std::string FileName;
    int Line = 0;  // 1-based
};

std::optional<ErrorJump> ErrorJumpAt(const TypesetterLog& log, int row);

// The paths on disk that a file name of the log may stand for, most likely
// first. The typesetter writes names relative to the folder it ran in
// ("./chap2.tex") in the document's encoding, while the names on disk are the
// system's bytes (normally UTF-8): the name decoded from Shift-JIS comes
// first, then the bytes as they are when they differ. An absolute name is
// not joined to the folder.
std::vector<std::string> LogFileCandidates(const std::string& folder, const std::string& fileName);
