#pragma once
#include <string>
#include <vector>

// The folder a root search looks in, as the search sees it: the names of its
// ".tex" files and the bytes of files in and below it. Paths are the system's
// bytes; a relative path is taken from the folder.
class TexFolder {
public:
    virtual ~TexFolder() = default;
    // The path of the folder itself.
    virtual const std::string& Path() const = 0;
    // Names of the regular files in the folder whose names end in ".tex" in
    // any case, in the order the listing gives them.
    virtual std::vector<std::string> ListTexFiles() = 0;
    // The bytes of the file; raises EFileError when it cannot be read.
    virtual std::string ReadFile(const std::string& path) = 0;
    // Whether a regular file is there.
    virtual bool IsFile(const std::string& path) = 0;
};
