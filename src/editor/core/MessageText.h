#pragma once
#include <string>
#include <string_view>

// A message with its "%s" (the first one) standing for `argument`.
inline std::string FormatMessageText(std::string_view pattern, std::string_view argument)
{
    std::string text(pattern);
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}
