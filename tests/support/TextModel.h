#pragma once
#include <string>
#include <string_view>

// The plain-text model the row store is checked against, shared by the unit
// tests and the fuzz targets.
namespace TextModel {

// What the store turns line breaks into: CR LF, lone CR and lone LF all
// become CR LF.
inline std::string NormaliseBreaks(std::string_view t)
{
    std::string out;
    out.reserve(t.size() + t.size() / 8 + 2);
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' || t[i] == '\n') {
            out += "\r\n";
            if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n')
                ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

}  // namespace TextModel
