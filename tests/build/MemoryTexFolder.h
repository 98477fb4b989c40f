#pragma once
#include <string>
#include <utility>
#include <vector>

#include "build/TexFolder.h"
#include "editor/core/EFileError.h"

// A folder held in memory: files in the order given, which is the listing's
// order. Counts the reads, so that tests see each file read once.
class MemoryTexFolder : public TexFolder {
public:
    explicit MemoryTexFolder(std::string path = "/doc") : path_(std::move(path)) {}

    void Add(const std::string& name, const std::string& text) { files_.emplace_back(name, text); }
    // A file that is listed and there, but cannot be read.
    void AddUnreadable(const std::string& name)
    {
        Add(name, "");
        unreadable_.push_back(name);
    }

    const std::string& Path() const override { return path_; }

    std::vector<std::string> ListTexFiles() override
    {
        std::vector<std::string> names;
        for (const auto& [name, text] : files_) {
            const bool tex = name.size() >= 4 && name.find('/') == std::string::npos
                && (name.compare(name.size() - 4, 4, ".tex") == 0 || name.compare(name.size() - 4, 4, ".TEX") == 0);
            if (tex)
                names.push_back(name);
        }
        return names;
    }

    std::string ReadFile(const std::string& path) override
    {
        ++reads;
        const auto* text = Find(path);
        for (const std::string& name : unreadable_)
            if (text && Find(name) == text)
                throw EFileError(path, "許可がありません");
        if (text)
            return *text;
        throw EFileError(path, "ファイルまたはフォルダがありません");
    }

    bool IsFile(const std::string& path) override { return Find(path) != nullptr; }

    int reads = 0;

private:
    const std::string* Find(std::string path) const
    {
        if (path.compare(0, path_.size() + 1, path_ + "/") == 0)
            path = path.substr(path_.size() + 1);
        for (const auto& [name, text] : files_)
            if (name == path)
                return &text;
        return nullptr;
    }

    std::string path_;
    std::vector<std::pair<std::string, std::string>> files_;
    std::vector<std::string> unreadable_;
};
