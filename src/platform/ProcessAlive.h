#pragma once
#include <cstdint>

// Whether the process with this id still runs: it exists and has not ended
// (a process that ended but was not yet reaped by its parent does not count).
bool ProcessAlive(std::int64_t pid);
