#include "platform/DefaultOutCommand.h"

#include <QFile>

#include "platform/DefaultApplication.h"
#include "platform/ProgramDataFolder.h"

std::string DefaultOutCommandIn(const std::string& dataFolder)
{
    if (dataFolder.empty())
        return {};
    std::string path = dataFolder;
    if (path.back() != '/')
        path += '/';
    path += "tex2pdf";
    return DefaultApplication::IsRegularFile(path) ? path : std::string();
}

std::string DefaultOutCommand()
{
    return DefaultOutCommandIn(QFile::encodeName(ProgramDataFolder::Path()).toStdString());
}
