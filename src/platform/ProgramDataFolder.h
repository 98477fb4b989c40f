#pragma once
#include <QString>

#include <filesystem>

// The folder of the files that ship with the program: the help document in
// help/ and the candidate lists in commands/.
//
// In the build tree they lie beside the executable (build/bin/help,
// build/bin/commands). An installed program finds them in its prefix's data
// folder: PREFIX/share/scrivlet/ for PREFIX/bin/scrivlet.
class ProgramDataFolder {
public:
    // Where the installed data folder lies seen from the folder of the
    // installed executable, as configured by the build ("../share/scrivlet").
    static const char* const kInstalledFromExecutable;

    // The data folder of the executable at `executable` (its real path, links
    // resolved): the executable's own folder when help/ or commands/ is there,
    // else the installed data folder `installedFromExecutable` (relative to
    // the executable's folder, or absolute) when that exists, else the
    // executable's own folder.
    static std::filesystem::path ForExecutable(const std::filesystem::path& executable,
                                               const std::filesystem::path& installedFromExecutable);

    // The running program's data folder, and the files in it.
    static QString Path();
    static QString HelpFile();        // help/SCRIVLET.html
    // The candidate lists' folder: commands/ here when the user may write
    // in it, else the user's own copy (CommandsFolder.h).
    static QString CommandsFolder();
};
