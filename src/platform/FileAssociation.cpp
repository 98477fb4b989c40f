#include "platform/FileAssociation.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "editor/core/EFileError.h"
#include "editor/core/MessageText.h"
#include "editor/core/SystemErrorText.h"
#include "platform/AtomicFileWriter.h"
#include "platform/DesktopEntry.h"
#include "platform/MimeAppsList.h"
#include "platform/PathList.h"
#include "platform/PathDisplay.h"

namespace FileAssociation {

namespace {

std::string Folder(const char* value, const char* home, const char* fallback)
{
    if (value && *value == '/')
        return value;
    return PathList::Join(home ? home : "", fallback);
}

// Whether every byte sequence is UTF-8 and no character is a control one.
bool FitsDesktopEntry(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            return false;
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && c < 0xC2) || (length == 4 && c > 0xF4))
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        const auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
        if ((length == 3 && c == 0xE0 && second < 0xA0) || (length == 3 && c == 0xED && second >= 0xA0)
            || (length == 4 && c == 0xF0 && second < 0x90) || (length == 4 && c == 0xF4 && second >= 0x90))
            return false;
        i += length;
    }
    return true;
}

std::optional<std::string> ReadFromDisk(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw EFileError(path, SystemErrorText(errno));
    }
    struct stat info;
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (error != 0) {
        ::close(fd);
        throw EFileError(path, SystemErrorText(error));
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw EFileError(path, SystemErrorText(error));
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void MakeFolders(const std::string& file)
{
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return;
    std::string folder = file.substr(0, slash);
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            throw EFileError(part, SystemErrorText(errno));
    }
}

void WriteToDisk(const std::string& path, const std::string& bytes)
{
    MakeFolders(path);
    AtomicFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

void RemoveFromDisk(const std::string& path)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw EFileError(path, SystemErrorText(errno));
}

}  // namespace

Places PlacesFrom(const char* configHome, const char* dataHome, const char* home)
{
    Places places;
    places.MimeAppsFile = PathList::Join(Folder(configHome, home, ".config"), "mimeapps.list");
    places.ApplicationsFolder = PathList::Join(Folder(dataHome, home, ".local/share"), "applications");
    places.DesktopFile = PathList::Join(places.ApplicationsFolder, kDesktopId);
    return places;
}

Places ProcessPlaces()
{
    return PlacesFrom(std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

bool IsOn(const std::string& mimeAppsText) { return !MimeAppsList::DefaultFor(mimeAppsText, kMimeType).empty(); }

std::string DesktopFileText(const std::string& programPath)
{
    if (programPath.empty() || !FitsDesktopEntry(programPath))
        throw std::invalid_argument("プログラムのパスをデスクトップエントリに書けません");
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Scrivlet\n"
                       "Comment=TeXファイル\n";
    text += "Exec=" + DesktopEntry::QuoteExecArgument(programPath) + " %f\n";
    text += "Icon=scrivlet\n"
            "MimeType=text/x-tex;\n"
            "NoDisplay=true\n"
            "Terminal=false\n";
    return text;
}

FileOperations DiskOperations() { return FileOperations{ReadFromDisk, WriteToDisk, RemoveFromDisk}; }

std::string Outcome::Message() const
{
    if (Succeeded)
        return On ? kAssociatedMessage : kRemovedMessage;
    std::string text = FormatMessageText(kFailedMessage, DisplayPathText(FailedPath));
    if (!Reason.empty())
        text += "\n" + Reason;
    return text;
}

Outcome Toggle(const Places& places, const std::string& programPath, const FileOperations& files)
{
    Outcome outcome;
    std::string current = places.MimeAppsFile;
    try {
        const std::optional<std::string> text = files.Read(places.MimeAppsFile);
        const std::string list = text.value_or(std::string());
        outcome.On = IsOn(list);
        if (outcome.On) {
            // Off: the default goes first, whoever set it, then our entry.
            files.Write(places.MimeAppsFile, MimeAppsList::RemoveDefault(list, kMimeType));
            current = places.DesktopFile;
            files.Remove(places.DesktopFile);
        } else {
            current = places.DesktopFile;
            files.Write(places.DesktopFile, DesktopFileText(programPath));
            current = places.MimeAppsFile;
            files.Write(places.MimeAppsFile, MimeAppsList::SetDefault(list, kMimeType, kDesktopId));
        }
    } catch (const EFileError& error) {
        outcome.FailedPath = error.Path.empty() ? current : error.Path;
        outcome.Reason = error.Reason;
        return outcome;
    } catch (const std::exception& error) {
        outcome.FailedPath = current;
        outcome.Reason = error.what();
        return outcome;
    }
    outcome.Succeeded = true;
    outcome.On = !outcome.On;
    return outcome;
}

}  // namespace FileAssociation
