#include "build/TypesetterCommand.h"

namespace {

bool IsSet(const std::vector<std::string>& environment, const std::string& name)
{
    for (const std::string& entry : environment)
        if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 && entry[name.size()] == '=')
            return true;
    return false;
}

}  // namespace

std::string WithExtension(const std::string& target, const char* extension)
{
    const std::size_t slash = target.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // The name loses its last four characters (".tex"), but never its folder.
    const std::size_t keep = target.size() - nameStart >= 4 ? target.size() - 4 : nameStart;
    return target.substr(0, keep) + extension;
}

TypesetterCommand TypesetterCommand::For(const std::string& program, const std::string& target, bool nonStop,
                                         const std::vector<std::string>& environment)
{
    TypesetterCommand command;
    command.Program = program;
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    command.WorkingFolder = slash == std::string::npos ? std::string() : target.substr(0, slash == 0 ? 1 : slash);
    if (nonStop)
        command.Arguments.push_back("-interaction=nonstopmode");
    command.Arguments.push_back(name);
    if (!IsSet(environment, "PTEX_KANJI_ENC"))
        command.Environment.push_back("PTEX_KANJI_ENC=sjis");
    if (!IsSet(environment, "max_print_line"))
        command.Environment.push_back("max_print_line=10000");
    const std::string log = WithExtension(target, ".log");
    command.LogPath = slash == std::string::npos ? log : log.substr(slash + 1);
    command.DviPath = WithExtension(target, ".dvi");
    return command;
}
