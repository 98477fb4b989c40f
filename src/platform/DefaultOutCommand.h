#pragma once
#include <string>

// The external command offered on a first run: the tex2pdf script that
// ships in the program's data folder, which makes a PDF of the compiled
// document and shows it.

// "FOLDER/tex2pdf" when that regular file exists; empty otherwise.
std::string DefaultOutCommandIn(const std::string& dataFolder);

// The same for the running program's data folder (ProgramDataFolder).
std::string DefaultOutCommand();
