#include "platform/DefaultOutCommand.h"

#include <QFile>

#include "platform/ProgramDataFolder.h"

std::string DefaultOutCommand(const std::string& dataFolder, const ToolDiscovery::ExecutableTest& isExecutable)
{
    if (dataFolder.empty() || dataFolder.front() != '/')
        return std::string();
    const std::string script = dataFolder.back() == '/' ? dataFolder + "tex2pdf" : dataFolder + "/tex2pdf";
    return isExecutable(script) ? script : std::string();
}

std::string DefaultOutCommand() { return DefaultOutCommand(QFile::encodeName(ProgramDataFolder::Path()).toStdString()); }
