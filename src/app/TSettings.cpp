#include "app/TSettings.h"

#include "tex/MathDelimiters.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "app/DocumentPath.h"
#include "editor/core/AsciiCase.h"
#include "editor/core/TEditorCore.h"
#include "editor/core/TEditorProp.h"
#include "platform/TRegistry.h"

namespace {

const std::string Key = TSettings::SettingsKey;

std::string Format(const char* pattern, const std::string& argument)
{
    std::string text = pattern;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

// Works at the current user's root and leaves the registry with no key open
// and its previous root, also when an error is raised.
class RegistryScope {
public:
    explicit RegistryScope(TRegistry& reg) : reg_(reg), previous_(reg.RootKey())
    {
        reg_.SetRootKey(TRegistry::CurrentUser);
    }
    ~RegistryScope()
    {
        reg_.CloseKey();
        reg_.SetRootKey(previous_);
    }
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;

private:
    TRegistry& reg_;
    std::string previous_;
};

void OpenForWrite(TRegistry& reg, const std::string& path) { TSettings::OpenKeyForWrite(reg, path); }

// The values of one subkey; a subkey that does not exist has none.
class KeyReader {
public:
    KeyReader(TRegistry& reg, const std::string& subKey) : reg_(reg), open_(reg.OpenKey(Key + '\\' + subKey, false)) {}

    std::optional<std::string> Text(const std::string& name) const
    {
        if (!open_ || !reg_.ValueExists(name))
            return std::nullopt;
        try {
            return reg_.ReadString(name);
        } catch (const ERegistryException&) {
            throw ERegistryException(Format(TSettings::InvalidTypeText, name));
        }
    }

    // A whole decimal number within int, else `fallback`.
    int Number(const std::string& name, int fallback) const
    {
        const std::optional<std::string> text = Text(name);
        if (!text || text->empty())
            return fallback;
        const char* first = text->data();
        const char* last = first + text->size();
        if (*first == '+' && last - first > 1 && first[1] != '-')
            ++first;
        int value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        return error == std::errc() && end == last ? value : fallback;
    }

    bool Flag(const std::string& name) const
    {
        const std::optional<std::string> text = Text(name);
        if (!text)
            return true;  // the default text "TRUE"
        if (std::optional<bool> value = ParseFlag(*text))
            return *value;
        throw TSettings::EConvertError(Format(TSettings::InvalidBooleanText, *text));
    }

private:
    // A decimal number (sign, digits, an optional fraction) is true when it
    // is not zero.
    static std::optional<bool> ParseFlag(std::string_view text)
    {
        if (SameTextAscii(text, "True"))
            return true;
        if (SameTextAscii(text, "False"))
            return false;
        std::string_view digits = text;
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        const std::size_t point = digits.find('.');
        const std::string_view whole = digits.substr(0, point);
        const std::string_view fraction = point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
        auto allDigits = [](std::string_view s) {
            return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
        };
        if (whole.size() + fraction.size() == 0 || !allDigits(whole) || !allDigits(fraction))
            return std::nullopt;
        auto nonZero = [](std::string_view s) { return s.find_first_not_of('0') != std::string_view::npos; };
        return nonZero(whole) || nonZero(fraction);
    }

    TRegistry& reg_;
    bool open_;
};

// Lines split at CR LF, CR or LF; a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

}  // namespace

std::vector<std::string> TSettings::DefaultBeginMath() { return ::DefaultBeginMath(); }

std::vector<std::string> TSettings::DefaultEndMath() { return ::DefaultEndMath(); }

void TSettings::OpenKeyForWrite(TRegistry& reg, const std::string& path)
{
    if (!reg.OpenKey(path, true))
        throw ERegistryException(Format(CreateKeyFailedText, path));
}

void TSettings::AddHistory(std::vector<std::string>& reOpen, const std::string& path)
{
    std::erase_if(reOpen, [&](const std::string& entry) { return DocumentPath::Same(entry, path); });
    if (!path.empty())
        reOpen.insert(reOpen.begin(), path);
}

namespace {

std::string UnreadKey(const std::string& subKey, const std::string& name)
{
    std::string key = subKey + '\\' + name;
    for (char& c : key)
        c = RegistryNames::Fold(c);
    return key;
}

// Reads one value after another; a value that cannot be read keeps the
// default its field was given and is listed once.
class ValueByValue {
public:
    ValueByValue(std::vector<std::string>& problems, std::map<std::string, std::string>& unread)
        : problems_(problems), unread_(unread)
    {
    }

    // Runs `read`; when it raises, records subKey\name with `defaultText`,
    // the written form of the default, and returns false.
    template <typename F>
    bool Read(const std::string& subKey, const std::string& name, const std::string& defaultText, F&& read)
    {
        try {
            read();
            return true;
        } catch (const std::exception& error) {
            Record(subKey, name, defaultText, error.what());
            return false;
        }
    }

    void Record(const std::string& subKey, const std::string& name, const std::string& defaultText,
                const std::string& reason)
    {
        const std::string key = UnreadKey(subKey, name);
        if (unread_.emplace(key, defaultText).second)
            problems_.push_back(subKey + '\\' + name + ": " + reason);
    }

private:
    std::vector<std::string>& problems_;
    std::map<std::string, std::string>& unread_;
};

}  // namespace

std::vector<std::string> TSettings::Read(TRegistry& reg, TEditorProp& editorPropSetting, TEditorCore* editor)
{
    RegistryScope scope(reg);
    OpenForWrite(reg, Key);
    std::vector<std::string> problems;
    unread_.clear();
    unreadSetting_.reset();
    ValueByValue values(problems, unread_);

    {
        const KeyReader window(reg, "Window");
        auto number = [&](const char* name, int& field, int fallback) {
            field = fallback;
            values.Read("Window", name, std::to_string(fallback), [&] { field = window.Number(name, fallback); });
        };
        number("Left", Left, 100);
        number("Top", Top, 100);
        number("Height", Height, 480);
        number("Width", Width, 640);
    }
    {
        const KeyReader path(reg, "Path");
        auto text = [&](const char* name, std::string& field) {
            field.clear();
            values.Read("Path", name, std::string(), [&] { field = path.Text(name).value_or(""); });
        };
        text("LaTeX", LaTeXPath);
        text("DVIOUT", DviOutPath);
        text("TOP", TopPath);
        text("OUT", OutCommandPath);
    }
    {
        const KeyReader display(reg, "Display");
        // Read twice, as the side panel and its splitter each are; a damaged
        // value is named once.
        PageStatusVisible = Splitter1Visible = true;
        values.Read("Display", "RightTree", "True", [&] { PageStatusVisible = display.Flag("RightTree"); });
        values.Read("Display", "RightTree", "True", [&] { Splitter1Visible = display.Flag("RightTree"); });
    }
    {
        const KeyReader option(reg, "Option");
        auto flag = [&](const char* name, bool& field) {
            field = true;
            values.Read("Option", name, "-1", [&] { field = option.Flag(name); });
        };
        flag("WheelMove", WheelMove);
        flag("SerchRoot", SerchRoot);
        flag("RenewTree", RenewTree);
        auto list = [&](const char* name, std::vector<std::string>& field, std::vector<std::string> fallback) {
            field = fallback;
            values.Read("Option", name, JoinLines(fallback), [&] {
                const std::optional<std::string> text = option.Text(name);
                if (text)
                    field = SplitLines(*text);
            });
        };
        list("BeginMath", BeginMath, DefaultBeginMath());
        list("EndMath", EndMath, DefaultEndMath());
    }

    const std::string editView = Key + "\\EditView";
    if (reg.KeyExists(editView)) {
        // Read into a copy, so that a damaged value changes nothing.
        TEditorProp read;
        read.Assign(editorPropSetting);
        std::string reason;
        try {
            read.ReadFromRegistry(reg, std::string(), editView, "setting");
        } catch (const ERegistryException&) {
            // The value exists (its size was read) but is not binary.
            reason = Format(InvalidTypeText, "setting");
        } catch (const std::exception& error) {
            reason = error.what();
        }
        if (reason.empty()) {
            editorPropSetting.Assign(read);
            if (editor)
                editorPropSetting.AssignTo(*editor);
        } else {
            values.Record("EditView", "setting", std::string(), reason);
            TEditorProp current;
            current.Assign(editorPropSetting);
            if (editor)
                current.Assign(*editor);
            unreadSetting_ = current.WriteToBytes();
        }
    }

    const KeyReader history(reg, "History");
    ReOpen.clear();
    for (int i = HistoryCount - 1; i >= 0; --i) {
        const std::string name = std::to_string(i);
        std::string path;
        values.Read("History", name, std::string(), [&] { path = history.Text(name).value_or(""); });
        AddHistory(ReOpen, path);
    }
    return problems;
}

void TSettings::Write(TRegistry& reg, TEditorProp& editorPropSetting, const TEditorCore* editor) const
{
    RegistryScope scope(reg);
    OpenForWrite(reg, Key);

    std::string subKey;
    auto open = [&](const char* name) {
        subKey = name;
        OpenForWrite(reg, Key + '\\' + subKey);
    };
    // A value that could not be read stays as stored while it would only be
    // replaced by the default it got.
    auto put = [&](const std::string& name, const std::string& text) {
        const auto unread = unread_.find(UnreadKey(subKey, name));
        if (unread != unread_.end() && unread->second == text)
            return;
        reg.WriteString(name, text);
    };

    open("Window");
    put("Left", std::to_string(Left));
    put("Top", std::to_string(Top));
    put("Height", std::to_string(Height));
    put("Width", std::to_string(Width));

    open("Path");
    put("LaTeX", LaTeXPath);
    put("DVIOUT", DviOutPath);
    put("TOP", TopPath);
    put("Out", OutCommandPath);

    if (editor)
        editorPropSetting.Assign(*editor);
    open("EditView");
    if (!unreadSetting_ || editorPropSetting.WriteToBytes() != *unreadSetting_)
        editorPropSetting.WriteToRegistry(reg, std::string(), Key + "\\EditView", "setting");

    open("Display");
    put("RightTree", PageStatusVisible ? "True" : "False");

    open("Option");
    put("WheelMove", WheelMove ? "-1" : "0");
    put("SerchRoot", SerchRoot ? "-1" : "0");
    put("RenewTree", RenewTree ? "-1" : "0");
    put("BeginMath", JoinLines(BeginMath));
    put("EndMath", JoinLines(EndMath));

    if (ReOpen.empty())
        return;
    open("History");
    const std::size_t count = std::min<std::size_t>(ReOpen.size(), HistoryCount);
    for (std::size_t i = 0; i < count; ++i)
        reg.WriteString(std::to_string(i), ReOpen[i]);
}
