#include "platform/CommandsFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace CommandsFolder {

bool Writable(const fs::path& folder)
{
    std::error_code error;
    return fs::is_directory(folder, error) && access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path Choose(const fs::path& installed, const fs::path& userData,
                const std::function<bool(const fs::path&)>& writable)
{
    if (writable(installed))
        return installed;
    const fs::path own = userData / "Scrivlet" / "commands";
    std::error_code error;
    fs::create_directories(own, error);
    for (fs::directory_iterator it(installed, error), end; !error && it != end; it.increment(error)) {
        std::error_code kind;
        if (!it->is_regular_file(kind))
            continue;
        const fs::path copy = own / it->path().filename();
        std::error_code exists;
        if (fs::exists(fs::symlink_status(copy, exists)))
            continue;
        std::error_code copied;
        fs::copy_file(it->path(), copy, fs::copy_options::skip_existing, copied);
    }
    return own;
}

fs::path UserDataHome()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/") / ".local" / "share";
}

}  // namespace CommandsFolder
