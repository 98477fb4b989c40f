#pragma once
#include "build/TexFolder.h"

// A folder on disk. Only regular files (or links to them) are listed and
// read: a folder or a pipe that happens to end in ".tex" is passed over, so a
// search never blocks on one.
class DiskTexFolder : public TexFolder {
public:
    explicit DiskTexFolder(std::string path);
    const std::string& Path() const override { return path_; }
    std::vector<std::string> ListTexFiles() override;
    std::string ReadFile(const std::string& path) override;
    bool IsFile(const std::string& path) override;

private:
    std::string Resolve(const std::string& path) const;
    std::string path_;
};
