#include "app/ShortCutText.h"

#include "editor/core/AsciiCase.h"

#include <array>
#include <cstddef>

namespace ShortCutText {

namespace {


bool StartsWith(std::string_view text, std::string_view front)
{
    return text.size() >= front.size() && SameTextAscii(text.substr(0, front.size()), front);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

constexpr std::array<std::string_view, 15> kNamedKeys = {
    "BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End",
    "Home", "Left", "Up", "Right", "Down", "Ins", "Del",
};

struct ModifierText {
    std::string_view Text;
    Modifier Bit;
};

// The order in which modifiers are written.
constexpr std::array<ModifierText, 3> kModifiers = {{
    {"Shift+", Shift},
    {"Ctrl+", Ctrl},
    {"Alt+", Alt},
}};

}  // namespace

std::string Write(unsigned modifiers, std::string_view key)
{
    if (key.empty())
        return {};
    std::string text;
    for (const ModifierText& m : kModifiers)
        if (modifiers & m.Bit)
            text += m.Text;
    text += key;
    return text;
}

Parts Read(std::string_view text)
{
    Parts parts;
    text = Trimmed(text);
    for (;;) {
        if (!text.empty() && text.front() == '^') {
            parts.Modifiers |= Ctrl;
            text.remove_prefix(1);
            continue;
        }
        bool found = false;
        for (const ModifierText& m : kModifiers) {
            if (StartsWith(text, m.Text)) {
                parts.Modifiers |= m.Bit;
                text.remove_prefix(m.Text.size());
                found = true;
                break;
            }
        }
        if (!found)
            break;
    }
    std::string listed = ListedKeyName(text);
    parts.Listed = !listed.empty();
    parts.Key = parts.Listed ? std::move(listed) : std::string(text);
    return parts;
}

std::string ListedKeyName(std::string_view name)
{
    if (name.size() == 1) {
        const char c = AsciiUpper(name.front());
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return std::string(1, c);
        return {};
    }
    // "F1" to "F24", written without leading zeros.
    if ((name.size() == 2 || name.size() == 3) && AsciiUpper(name.front()) == 'F' && name[1] >= '1' && name[1] <= '9') {
        int number = 0;
        for (std::size_t i = 1; i < name.size(); ++i) {
            if (name[i] < '0' || name[i] > '9')
                return {};
            number = number * 10 + (name[i] - '0');
        }
        return number <= 24 ? "F" + std::to_string(number) : std::string();
    }
    for (std::string_view known : kNamedKeys)
        if (SameTextAscii(name, known))
            return std::string(known);
    return {};
}

}  // namespace ShortCutText
