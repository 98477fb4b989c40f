#include "dialogs/ConfigRules.h"

#include <limits>

#include "editor/core/MessageText.h"

namespace ConfigRules {

namespace {

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

FontSizeReading ReadFontSize(std::string_view text)
{
    FontSizeReading reading;
    const std::optional<int> number = ParseInteger(text);
    if (!number)
        reading.Error = FormatMessageText(kInvalidIntegerText, text);
    else if (*number < kFontSizeMin || *number > kFontSizeMax)
        reading.Error = FormatMessageText(kFontSizeRangeText, text);
    else
        reading.Size = number;
    return reading;
}

std::string ListedFontSizeText(int size)
{
    if (size < kListedFontSizeMin || size > kListedFontSizeMax)
        return {};
    return std::to_string(size);
}

int WrapWidthFromText(std::string_view text, int min, int max)
{
    const std::optional<int> number = ParseInteger(text);
    if (!number)
        return min;
    return *number < min ? min : *number > max ? max : *number;
}

bool IsListedFamilyName(std::string_view family) { return !family.empty() && family.front() != '@'; }

}  // namespace ConfigRules
