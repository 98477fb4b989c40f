// The typesetter's log reader over random and mutated logs: unbalanced
// parentheses, huge lines, lone lead bytes, NULs, any line ends. The log lies
// in a heap buffer of exactly its size, so the address sanitizer sees a read
// past its end.
//
// The error list must stay in groups of four rows with the log's last line
// after them; every row, every file name and every "l.N" line number an
// entry names must come from the log.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "build/TypesetterLog.h"

#include "support/Printable.h"

namespace {

std::string_view g_log;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "TypesetterLogReader: %s\n  log: %s\n", what.c_str(), Printable(g_log).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

bool InLog(std::string_view text) { return g_log.find(text) != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> buffer(new char[size ? size : 1]);
    if (size)
        std::memcpy(buffer.get(), data, size);
    g_log = std::string_view(buffer.get(), size);

    const TypesetterLog log = ReadTypesetterLog(g_log);
    if (log.Rows.size() != log.Entries.size() * 4 + 1)
        Fail(std::to_string(log.Rows.size()) + " rows for " + std::to_string(log.Entries.size()) + " entries");
    for (const std::string& row : log.Rows)
        if (!row.empty() && !InLog(row))
            Fail("a row that is not in the log: " + Printable(row));
    for (std::size_t k = 0; k < log.Entries.size(); ++k) {
        const TypesetterLogEntry& entry = log.Entries[k];
        if (log.Rows[4 * k].empty() || log.Rows[4 * k][0] != '!')
            Fail("entry " + std::to_string(k) + " does not start at a \"!\" line");
        if (!entry.FileName.empty() && !InLog("(" + entry.FileName))
            Fail("a file the log never opened: " + Printable(entry.FileName));
        if (entry.Line < 0 || (entry.Line > 0 && !InLog("l." + std::to_string(entry.Line))))
            Fail("a line the log never named: " + std::to_string(entry.Line));
    }
    return 0;
}
