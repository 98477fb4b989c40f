#pragma once
#include <string>
#include <vector>

// How the typesetter is started on a target document: the program with an
// argument vector (no shell ever sees the names), the folder it runs in, the
// variables it needs, and where its log and DVI file land.
struct TypesetterCommand {
    std::string Program;
    std::vector<std::string> Arguments;
    // The target's folder: the typesetter reads and writes relative to it.
    std::string WorkingFolder;
    // NAME=VALUE pairs to add to the environment.
    std::vector<std::string> Environment;
    // The log ("main.log") and the DVI file ("/doc/main.dvi"): the target
    // with its last four characters replaced.
    std::string LogPath;
    std::string DviPath;

    // `environment` is the program's own (NAME=VALUE entries): pLaTeX reads
    // UTF-8 unless PTEX_KANJI_ENC says otherwise, and wraps its log lines at
    // 79 bytes unless max_print_line says otherwise, so both are added when
    // the user has not set them. With `nonStop` the typesetter does not stop
    // at its "?" prompt.
    static TypesetterCommand For(const std::string& program, const std::string& target, bool nonStop,
                                 const std::vector<std::string>& environment);
};

// The file name of a target with its last four characters replaced by
// `extension` (".log", ".dvi"); the folder is kept.
std::string WithExtension(const std::string& target, const char* extension);
