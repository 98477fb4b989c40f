#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Bytes as a fuzz target's failure message shows them: printable ASCII as
// it is, CR and LF as \r and \n, everything else as \xNN; cut after `limit`.
inline std::string Printable(std::string_view s, size_t limit = 160)
{
    std::string out;
    for (size_t i = 0; i < s.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    if (s.size() > limit)
        out += "... (" + std::to_string(s.size()) + " bytes)";
    return out;
}

// Whether the environment variable `name` asks for a step-by-step trace.
inline bool TraceRequested(const char* name)
{
    const char* v = std::getenv(name);
    return v && *v && *v != '0';
}
