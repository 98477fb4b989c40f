#include "editor/core/TextLines.h"

namespace TextLines {

Stats Count(std::string_view text)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t lf = 0, cr = 0, crlf = 0;
    if (n > 0) {
        for (size_t i = 0; i + 1 < n; ++i) {
            lf += p[i] == '\n';
            cr += p[i] == '\r';
            crlf += (p[i] == '\r') & (p[i + 1] == '\n');
        }
        lf += p[n - 1] == '\n';
        cr += p[n - 1] == '\r';
    }
    Stats s;
    // Each LF ends a line, and each CR that no LF follows.
    s.Lines = lf + (cr - crlf);
    s.LoneCR = cr != crlf;
    if (n > 0 && p[n - 1] != '\n' && p[n - 1] != '\r')
        ++s.Lines;  // a final piece without a break
    return s;
}

}  // namespace TextLines
