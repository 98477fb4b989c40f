#pragma once
// Timing, memory and reporting helpers shared by the benchmark programs.
//
// Only ratios between numbers measured in the same run mean anything on a
// shared machine, so every scenario prints our time next to a baseline's.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// A count as the reports print it.
inline std::string Count(long long n) { return std::to_string(n); }

inline double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs f once and returns its wall time in milliseconds.
template <typename F>
double TimeMs(F&& f)
{
    const auto start = Clock::now();
    f();
    return MsSince(start);
}

// The best of n runs of f. f returns the milliseconds it measured itself, so
// that set-up and tear-down of each run stay out of the time.
template <typename F>
double BestOfMs(int n, F&& f)
{
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i)
        best = std::min(best, static_cast<double>(f()));
    return best;
}

// --- memory -------------------------------------------------------------------

// A "Vm...:   1234 kB" field of /proc/self/status, in kB; -1 when absent.
inline long ProcStatusKb(const char* field)
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long value = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, n) == 0 && line[n] == ':') {
            value = std::strtol(line + n + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return value;
}

inline long CurrentRssKb() { return ProcStatusKb("VmRSS"); }

// The peak resident set so far: VmHWM, else what getrusage reports.
inline long PeakRssKb()
{
    long kb = ProcStatusKb("VmHWM");
    if (kb >= 0)
        return kb;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Starts this program again as `self mode args...` and returns what it
// wrote to stdout, so that a measurement of peak memory is not polluted by
// what this process already holds. Empty when the child failed.
inline std::string RunChild(const std::vector<std::string>& args)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return {};
    }
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        static char self[] = "/proc/self/exe";
        argv.push_back(self);
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(self, argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return out;
}

// --- reporting ----------------------------------------------------------------

// A number with about three significant digits, never in exponent form.
inline std::string Fmt(double v)
{
    char buf[64];
    const double a = v < 0 ? -v : v;
    std::snprintf(buf, sizeof buf, a >= 100 ? "%.0f" : a >= 10 ? "%.1f" : a >= 1 ? "%.2f" : "%.3f", v);
    return buf;
}

struct Baseline {
    std::string name;
    double value;
};

// One scenario on one line:
//   name: ours X unit, baseline(b) Y unit, ratio Z[; baseline(c) ...][ (note)]
// The ratio is ours / baseline: lower is better.
inline void PrintScenario(const std::string& name, double ours, const std::vector<Baseline>& baselines,
                          const char* unit = "ms", const std::string& note = {})
{
    std::printf("%s: ours %s %s", name.c_str(), Fmt(ours).c_str(), unit);
    bool first = true;
    for (const Baseline& b : baselines) {
        std::printf("%s baseline(%s) %s %s, ratio %s", first ? "," : ";", b.name.c_str(), Fmt(b.value).c_str(),
                    unit, Fmt(b.value > 0 ? ours / b.value : 0.0).c_str());
        first = false;
    }
    if (!note.empty())
        std::printf(" (%s)", note.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

// A target note: what was aimed at, what was measured, and whether it holds.
// A benchmark program's main: runs `run`, and reports an exception as a
// failure of the program named `name`.
template <class Run>
int RunProgram(const char* name, Run run, int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 1;
    }
}

inline double Mb(double bytes) { return bytes / 1e6; }

inline std::string MbText(size_t bytes)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", Mb(static_cast<double>(bytes)));
    return buf;
}

inline void PrintTarget(bool met, const std::string& text)
{
    std::printf("  target: %s: %s\n", text.c_str(), met ? "met" : "MISSED");
    std::fflush(stdout);
}

}  // namespace bench
