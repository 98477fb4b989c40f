#pragma once
#include <optional>
#include <string>
#include <string_view>

// The rules by which the configuration dialog reads what the user typed.
namespace ConfigRules {

// A whole number as the settings' conversions read one: blanks before it,
// an optional sign, then decimal digits (or "$" and hexadecimal digits);
// nothing after it. Nothing for any other text or one out of int's range.
std::optional<int> ParseInteger(std::string_view text);

// The font sizes the dialog offers in its list, and those it takes.
constexpr int kListedFontSizeMin = 8;
constexpr int kListedFontSizeMax = 24;
constexpr int kFontSizeMin = 1;
constexpr int kFontSizeMax = 200;

// The messages of a size that cannot be taken; %s is the text as typed.
constexpr const char* kInvalidIntegerText = "'%s' は正しい整数値ではありません";
constexpr const char* kFontSizeRangeText = "'%s' はフォントサイズにできません（1 から 200 まで）";

// The font size of the text typed, or the message that says why it is none.
struct FontSizeReading {
    std::optional<int> Size;
    std::string Error;  // UTF-8, set when Size is empty
};
FontSizeReading ReadFontSize(std::string_view text);

// The text the size field starts with: the size when the list offers it,
// else empty.
std::string ListedFontSizeText(int size);

// The wrap width of the spin box's text: brought into [min, max]; text that
// is not a number gives `min`.
int WrapWidthFromText(std::string_view text, int min, int max);

// Whether a font family belongs in the font list by its name: the families
// whose names begin with "@" are the vertical-writing variants.
bool IsListedFamilyName(std::string_view family);

}  // namespace ConfigRules
