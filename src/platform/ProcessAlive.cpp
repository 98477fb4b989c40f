#include "platform/ProcessAlive.h"

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <sys/types.h>

bool ProcessAlive(std::int64_t pid)
{
    if (pid <= 0)
        return false;
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    // "PID (name) STATE ...": the name may hold blanks and parentheses, so
    // the state is read after the last ")".
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!stat || !std::getline(stat, line))
        return true;
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size())
        return true;
    const char state = line[close + 2];
    return state != 'Z' && state != 'X';
}
