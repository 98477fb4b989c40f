#pragma once
#include <string>
#include <string_view>
#include <vector>

// A desktop entry file (".desktop"): the keys of its "[Desktop Entry]" group,
// and its Exec line turned into the argument vector of a program to start,
// with the quoting and field codes the desktop entry format gives them.
struct DesktopEntry {
    std::string Name;
    std::string Exec;
    std::string TryExec;
    std::string Icon;

    // Reads the "[Desktop Entry]" group; other groups and unknown keys are
    // passed over, localised keys ("Name[ja]") too.
    static DesktopEntry Parse(std::string_view text);

    // The Exec line as arguments, with %f, %F, %u and %U standing for
    // `file` (a file name; a URL code gets it as is), %c for the name, %% for
    // "%"; other field codes are dropped. Empty when Exec is empty or its
    // quoting is broken.
    std::vector<std::string> CommandFor(const std::string& file) const;

    // One argument written for an Exec line: quoted when it holds a blank
    // or a reserved character, with '"', '`', '$' and '\' escaped, and "%"
    // doubled; as stored in the file (a backslash doubled once more).
    static std::string QuoteExecArgument(std::string_view argument);
};
