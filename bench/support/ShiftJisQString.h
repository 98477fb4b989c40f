#pragma once
// The generated Shift-JIS text as Qt's baselines take it.

#include <QString>

#include <string>
#include <string_view>

#include "BenchDocument.h"

namespace bench {

inline QString FromShiftJis(std::string_view sjis)
{
    const std::string utf8 = Iconv(sjis, "UTF-8", "CP932");
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace bench
