#pragma once
#include <stdexcept>
#include <string>

// A file could not be opened, read or written. Path is as given; Reason is
// the system's explanation.
class EFileError : public std::runtime_error {
public:
    EFileError(std::string path, std::string reason)
        : std::runtime_error(path + ": " + reason), Path(std::move(path)), Reason(std::move(reason))
    {
    }
    std::string Path;
    std::string Reason;
};
