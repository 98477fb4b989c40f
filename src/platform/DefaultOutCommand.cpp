#include "platform/DefaultOutCommand.h"

#include <QFile>

#include "platform/DefaultApplication.h"
#include "platform/PathList.h"
#include "platform/ProgramDataFolder.h"

std::string DefaultOutCommandIn(const std::string& dataFolder)
{
    if (dataFolder.empty())
        return {};
    const std::string path = PathList::Join(dataFolder, "tex2pdf");
    return DefaultApplication::IsRegularFile(path) ? path : std::string();
}

std::string DefaultOutCommand()
{
    return DefaultOutCommandIn(QFile::encodeName(ProgramDataFolder::Path()).toStdString());
}
