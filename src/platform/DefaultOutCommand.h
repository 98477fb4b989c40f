#pragma once
#include <string>

#include "platform/ToolDiscovery.h"

// The external command set up when the user has chosen none: the tex2pdf
// script that ships in the program's data folder (it makes a PDF file from
// the target's DVI file with dvipdfmx and opens it). Its absolute path, or
// empty when the script is not there or cannot be run.
std::string DefaultOutCommand(const std::string& dataFolder,
                              const ToolDiscovery::ExecutableTest& isExecutable = ToolDiscovery::IsExecutableFile);

// The same for the running program's data folder.
std::string DefaultOutCommand();
