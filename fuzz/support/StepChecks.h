#pragma once
#include <cstdio>
#include <string>

#include "Printable.h"

// The failure report of a fuzz target that plays its input as a program of
// steps: which target, which step, which operation, and what went wrong.
// A failure traps, so that the fuzzer keeps the input.
namespace StepChecks {

inline const char* g_target = "fuzz";
inline int g_step = 0;
inline const char* g_op = "start";

// Called at the start of each input.
inline void Start(const char* target)
{
    g_target = target;
    g_step = 0;
    g_op = "start";
}

[[noreturn]] inline void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s: step %d (%s): %s\n", g_target, g_step, g_op, what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

inline void Require(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}

inline void RequireText(const std::string& got, const std::string& want, const char* what)
{
    if (got != want)
        Fail(std::string(what) + "\n  got:  " + Printable(got) + "\n  want: " + Printable(want));
}

}  // namespace StepChecks
