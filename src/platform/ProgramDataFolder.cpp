#include "platform/ProgramDataFolder.h"

#include "platform/CommandsFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <system_error>

namespace fs = std::filesystem;

#ifndef SCRIVLET_INSTALLED_DATA_FROM_BIN
#define SCRIVLET_INSTALLED_DATA_FROM_BIN "../share/scrivlet"
#endif

const char* const ProgramDataFolder::kInstalledFromExecutable = SCRIVLET_INSTALLED_DATA_FROM_BIN;

namespace {

bool IsFolder(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

bool HoldsProgramData(const fs::path& folder)
{
    return IsFolder(folder / "help") || IsFolder(folder / "commands");
}

}  // namespace

fs::path ProgramDataFolder::ForExecutable(const fs::path& executable, const fs::path& installedFromExecutable)
{
    const fs::path beside = executable.parent_path();
    if (HoldsProgramData(beside))
        return beside;
    const fs::path installed = (beside / installedFromExecutable).lexically_normal();
    if (IsFolder(installed))
        return installed;
    return beside;
}

QString ProgramDataFolder::Path()
{
    // applicationFilePath() is the real path of the running executable, so a
    // link to it from another bin/ folder still finds the data of its prefix.
    const fs::path executable(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    const fs::path folder = ForExecutable(executable, kInstalledFromExecutable);
    return QFile::decodeName(QByteArray::fromStdString(folder.string()));
}

QString ProgramDataFolder::HelpFile()
{
    return QDir(Path()).filePath(QStringLiteral("help/SCRIVLET.html"));
}

QString ProgramDataFolder::CommandsFolder()
{
    const fs::path installed(QFile::encodeName(QDir(Path()).filePath(QStringLiteral("commands"))).toStdString());
    const fs::path chosen = ::CommandsFolder::Choose(installed, ::CommandsFolder::UserDataHome());
    return QFile::decodeName(QByteArray::fromStdString(chosen.string()));
}
