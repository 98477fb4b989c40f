#include "platform/IniRegistry.h"

#include "editor/core/EFileError.h"
#include "editor/core/SystemErrorText.h"
#include "platform/AtomicFileWriter.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

using RegistryNames::Fold;
using RegistryNames::SameName;

std::string Fold(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = Fold(c);
    return folded;
}

// Key names never hold '\', so the folded names joined by it identify a key.
std::string FoldedPath(const std::vector<std::string>& names)
{
    std::string path;
    for (const std::string& name : names) {
        if (!path.empty())
            path += '\\';
        path += Fold(name);
    }
    return path;
}

std::string JoinPath(const std::vector<std::string>& names)
{
    std::string path;
    for (const std::string& name : names)
        path += '\\' + name;
    return path.empty() ? std::string("\\") : path;
}

std::string SystemReason(int error) { return SystemErrorText(error); }

// The registry's own message for a value of the wrong kind.
std::string WrongTypeMessage(const std::string& name) { return "'" + name + "' のデータ型が不正です"; }

constexpr char HexDigits[] = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void AppendHexByte(std::string& out, unsigned char byte)
{
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0x0F];
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The escapes of names and strings: \\ \" \r \n \t \xHH.
void AppendEscaped(std::string& out, unsigned char c)
{
    switch (c) {
    case '\\': out += "\\\\"; return;
    case '"': out += "\\\""; return;
    case '\r': out += "\\r"; return;
    case '\n': out += "\\n"; return;
    case '\t': out += "\\t"; return;
    default:
        if (IsControl(c)) {
            out += "\\x";
            AppendHexByte(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
}

std::string EncodeString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text)
        AppendEscaped(out, static_cast<unsigned char>(c));
    return out + '"';
}

// A value name stays on its side of the '=' and cannot be taken for a
// section header, a comment or blanks around the line.
std::string EncodeName(std::string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool edge = i == 0 || i + 1 == name.size();
        if (c == '=' || (i == 0 && (c == '[' || c == ';' || c == '#')) || (edge && IsBlank(static_cast<char>(c)))) {
            out += "\\x";
            AppendHexByte(out, c);
        } else {
            AppendEscaped(out, c);
        }
    }
    return out;
}

std::string EncodeKeyName(std::string_view name)
{
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsControl(c) || c == '%' || c == '[' || c == ']') {
            out += '%';
            AppendHexByte(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

// Reads escaped text from `pos` up to `terminator` (consumed) or, when it is
// 0, to the end. Returns an error text, empty on success.
std::string Unescape(std::string_view text, std::size_t& pos, char terminator, std::string& out)
{
    while (pos < text.size()) {
        const char c = text[pos++];
        if (terminator && c == terminator)
            return {};
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size())
            return "テキストが \\ で終わっています";
        const char e = text[pos++];
        switch (e) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'x': {
            const int high = pos < text.size() ? HexValue(text[pos]) : -1;
            const int low = pos + 1 < text.size() ? HexValue(text[pos + 1]) : -1;
            if (high < 0 || low < 0)
                return "\\x の後に 16 進数字が 2 桁ありません";
            out += static_cast<char>(high * 16 + low);
            pos += 2;
            break;
        }
        default:
            return std::string("不明なエスケープ \\") + e + " があります";
        }
    }
    if (terminator)
        return "閉じる引用符がありません";
    return {};
}

std::string DecodeKeyName(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[' || c == ']')
            return "キー名に括弧がそのまま含まれています";
        if (c != '%') {
            out += c;
            continue;
        }
        const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            return "% の後に 16 進数字が 2 桁ありません";
        const char decoded = static_cast<char>(high * 16 + low);
        if (decoded == '\\')
            return "キー名に \\ は使えません";
        out += decoded;
        i += 2;
    }
    return {};
}

std::string DescribeByte(unsigned char c)
{
    std::string text = "0x";
    AppendHexByte(text, c);
    return text;
}

// Closes a descriptor once, reporting close's own failure.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }
    // 0, or the error of close.
    int Close()
    {
        const int fd = std::exchange(fd_, -1);
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int fd_;
};

[[noreturn]] void ThrowWriteError(const std::string& path, const std::string& reason)
{
    throw ERegistryException("設定ファイル \"" + path + "\" に書き込めません: " + reason);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Creates the missing folders of `folder`, each readable only by the user.
void MakeFolders(const std::string& folder, const std::string& file)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode))
            ThrowWriteError(file, "\"" + folder + "\" はフォルダではありません");
        return;
    }
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string prefix = folder.substr(0, end);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            ThrowWriteError(file, "フォルダ \"" + prefix + "\" を作成できません: " + SystemReason(errno));
        if (end == std::string::npos)
            break;
    }
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        ThrowWriteError(file, "\"" + folder + "\" はフォルダではありません");
}

// Writes `bytes` to a new file beside `path`, flushes it to disk and renames
// it over `path`. On any failure the new file is removed, `path` is left as
// it was, and ERegistryException is thrown.
void WriteFileAtomically(const std::string& path, const std::string& bytes)
{
    // The writer follows a symbolic link to the file it names; the folders
    // made here are those of a first run.
    MakeFolders(FolderOf(path), path);
    try {
        AtomicFileWriter file(path);
        file.Write(bytes);
        file.Commit();
    } catch (const EFileError& error) {
        ThrowWriteError(path, error.Reason);
    }
}

}  // namespace

std::string IniRegistry::DefaultPath()
{
    std::string config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"); env && *env) {
            home = env;
        } else {
            long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
            std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
            passwd entry {};
            passwd* found = nullptr;
            if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
                found->pw_dir)
                home = found->pw_dir;
        }
        if (home.empty())
            throw ERegistryException("設定ファイルの場所がわかりません: ホームフォルダが不明です");
        config = home + "/.config";
    }
    while (config.size() > 1 && config.back() == '/')
        config.pop_back();
    return config + "/Veltrane/Scrivlet.ini";
}

IniRegistry::IniRegistry(std::string path, const std::string& storedKey, std::string storedRoot)
    : path_(std::move(path)), storedRoot_(std::move(storedRoot))
{
    current_.clear();
    root_ = storedRoot_;
    storedKey_ = Resolve(storedKey.empty() || storedKey.front() == '\\' ? storedKey : '\\' + storedKey);
    sections_.emplace_back();
    sectionIndex_.emplace(std::string(), 0);
    Load();
}

IniRegistry::~IniRegistry()
{
    if (modified_)
        std::fprintf(stderr, "Scrivlet: 変更した設定は %s に書き込まれていません\n", path_.c_str());
}

void IniRegistry::Load()
{
    FileHandle file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return;  // no file yet: an empty key
        throw ERegistryException("設定ファイル \"" + path_ + "\" を読み込めません: " + SystemReason(errno));
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        throw ERegistryException("設定ファイル \"" + path_ + "\" を読み込めません: " + SystemReason(errno));
    if (!S_ISREG(info.st_mode))
        throw ERegistryException("設定ファイル \"" + path_ + "\" を読み込めません: 通常のファイルではありません");

    std::string text;
    text.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), MaxFileBytes) + 1);
    std::size_t length = 0;
    for (;;) {
        if (length == text.size()) {
            if (length > MaxFileBytes)
                break;
            text.resize(std::min(text.size() * 2, MaxFileBytes + 1));
        }
        const ssize_t n = ::read(file.Get(), text.data() + length, text.size() - length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ERegistryException("設定ファイル \"" + path_ + "\" を読み込めません: " + SystemReason(errno));
        }
        if (n == 0)
            break;
        length += static_cast<std::size_t>(n);
    }
    text.resize(length);
    if (length > MaxFileBytes) {
        // Only whole lines of the first MaxFileBytes bytes are read.
        const std::size_t lastBreak = text.rfind('\n', MaxFileBytes - 1);
        text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
        AddDamage(0, "ファイルが " + std::to_string(MaxFileBytes >> 20) + " MiB を超えているため、先頭の " +
                         std::to_string(text.size()) + " バイトだけを読み込みました");
    }
    Parse(text);
    if (damageCount_ > 0) {
        damagedText_ = std::move(text);
        backupPath_ = path_ + ".damaged";
        struct stat taken {};
        for (int n = 2; n <= 100 && ::lstat(backupPath_.c_str(), &taken) == 0; ++n)
            backupPath_ = path_ + ".damaged." + std::to_string(n);
    }
}

void IniRegistry::AddDamage(std::size_t line, std::string reason)
{
    ++damageCount_;
    if (damage_.size() < MaxDamageListed)
        damage_.push_back({line, std::move(reason)});
}

std::string IniRegistry::DamageReport() const
{
    std::string report;
    for (const IniDamage& d : damage_)
        report += (d.Line ? std::to_string(d.Line) + " 行目" : std::string("ファイル全体")) + ": " + d.Reason + '\n';
    if (damageCount_ > damage_.size())
        report += "ほかに " + std::to_string(damageCount_ - damage_.size()) + " 行が壊れています\n";
    return report;
}

void IniRegistry::Parse(const std::string& text)
{
    std::size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::size_t lineNumber = 0;
    Section* section = &sections_[0];
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const auto control = std::find_if(line.begin(), line.end(), [](char c) {
            return c != '\t' && IsControl(static_cast<unsigned char>(c));
        });
        if (control != line.end()) {
            AddDamage(lineNumber, "制御文字 " + DescribeByte(static_cast<unsigned char>(*control)) + " が含まれています");
            continue;
        }
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;

        if (line.front() == '[') {
            section = nullptr;
            if (line.back() != ']' || line.size() < 2) {
                AddDamage(lineNumber, "セクション見出しに閉じる ']' がないため、その値を読み飛ばしました");
                continue;
            }
            std::vector<std::string> names;
            std::string error;
            std::string_view inner = line.substr(1, line.size() - 2);
            while (error.empty()) {
                const std::size_t slash = inner.find('\\');
                std::string name;
                error = DecodeKeyName(inner.substr(0, slash), name);
                if (!name.empty())
                    names.push_back(std::move(name));
                if (slash == std::string_view::npos)
                    break;
                inner.remove_prefix(slash + 1);
            }
            if (!error.empty()) {
                AddDamage(lineNumber, "セクション見出しが不正なため (" + error + ")、その値を読み飛ばしました");
                continue;
            }
            section = &MakeSection(names);
            continue;
        }
        if (!section) {
            AddDamage(lineNumber, "壊れたセクション見出しの下の値なので読み飛ばしました");
            continue;
        }

        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            AddDamage(lineNumber, "セクション見出しでも値でもありません ('=' がありません)");
            continue;
        }
        std::string name;
        std::size_t namePos = 0;
        const std::string_view nameText = Trim(line.substr(0, equals));
        if (std::string error = Unescape(nameText, namePos, 0, name); !error.empty()) {
            AddDamage(lineNumber, "値の名前が不正です (" + error + ")");
            continue;
        }
        const std::string_view valueText = Trim(line.substr(equals + 1));
        Value value{name, false, {}};
        if (!valueText.empty() && valueText.front() == '"') {
            std::size_t valuePos = 1;
            std::string error = Unescape(valueText, valuePos, '"', value.Data);
            if (error.empty() && valuePos != valueText.size())
                error = "閉じる引用符の後に文字があります";
            if (!error.empty()) {
                AddDamage(lineNumber, "文字列の値 \"" + name + "\" が不正です (" + error + ")");
                continue;
            }
        } else if (valueText.size() >= 4 && SameName(valueText.substr(0, 4), "hex:")) {
            const std::string_view digits = valueText.substr(4);
            value.Binary = true;
            value.Data.reserve(digits.size() / 2);
            bool sound = digits.size() % 2 == 0;
            for (std::size_t i = 0; sound && i < digits.size(); i += 2) {
                const int high = HexValue(digits[i]);
                const int low = HexValue(digits[i + 1]);
                sound = high >= 0 && low >= 0;
                value.Data += static_cast<char>(high * 16 + low);
            }
            if (!sound) {
                AddDamage(lineNumber, "バイナリの値 \"" + name + "\" が不正です (hex: の後は 2 桁ずつの 16 進数字です)");
                continue;
            }
        } else {
            AddDamage(lineNumber, "値 \"" + name + "\" は引用符で囲んだ文字列でも hex: のデータでもありません");
            continue;
        }

        const std::string folded = Fold(name);
        auto found = section->Index.find(folded);
        if (found != section->Index.end()) {
            AddDamage(lineNumber, "値 \"" + name + "\" が重複しているため、後の行を使いました");
            section->Values[found->second].Binary = value.Binary;
            section->Values[found->second].Data = std::move(value.Data);
        } else {
            section->Index.emplace(folded, section->Values.size());
            section->Values.push_back(std::move(value));
        }
    }
    modified_ = false;
}

std::string IniRegistry::Serialize() const
{
    std::string text = "; Settings of Scrivlet, rewritten by the program when it ends.\n";
    for (const Section& section : sections_) {
        if (!section.Path.empty()) {
            text += "\n[";
            for (std::size_t i = 0; i < section.Path.size(); ++i)
                text += (i ? "\\" : "") + EncodeKeyName(section.Path[i]);
            text += "]\n";
        }
        for (const Value& value : section.Values) {
            text += EncodeName(value.Name);
            text += '=';
            if (value.Binary) {
                text += "hex:";
                for (char c : value.Data)
                    AppendHexByte(text, static_cast<unsigned char>(c));
            } else {
                text += EncodeString(value.Data);
            }
            text += '\n';
        }
    }
    return text;
}

void IniRegistry::Flush()
{
    if (!modified_)
        return;
    const std::string text = Serialize();
    if (text.size() > MaxFileBytes)
        throw ERegistryException("設定ファイル \"" + path_ + "\" に書き込めません: 設定が " +
                                 std::to_string(MaxFileBytes >> 20) + " MiB を超えています");
    if (!backupPath_.empty() && !damagedText_.empty()) {
        WriteFileAtomically(backupPath_, damagedText_);
        damagedText_.clear();
    }
    WriteFileAtomically(path_, text);
    modified_ = false;
}

std::vector<std::string> IniRegistry::Resolve(const std::string& key) const
{
    return RegistryNames::ResolveKeyPath(key, current_);
}

IniRegistry::Place IniRegistry::Classify(const std::vector<std::string>& path, std::vector<std::string>* below) const
{
    if (!SameName(root_, storedRoot_))
        return path.empty() ? Place::Above : Place::Outside;
    const std::size_t common = std::min(path.size(), storedKey_.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (!SameName(path[i], storedKey_[i]))
            return Place::Outside;
    }
    if (path.size() < storedKey_.size())
        return Place::Above;
    if (below)
        below->assign(path.begin() + static_cast<std::ptrdiff_t>(storedKey_.size()), path.end());
    return Place::Inside;
}

bool IniRegistry::ExistsBelow(const std::vector<std::string>& below) const
{
    if (FindSection(below))
        return true;
    // A key without a section of its own exists when a key under it has one.
    const std::string prefix = FoldedPath(below) + '\\';
    return std::any_of(sections_.begin(), sections_.end(),
                       [&](const Section& s) { return FoldedPath(s.Path).starts_with(prefix); });
}

const IniRegistry::Section* IniRegistry::FindSection(const std::vector<std::string>& below) const
{
    auto found = sectionIndex_.find(FoldedPath(below));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

IniRegistry::Section* IniRegistry::FindSection(const std::vector<std::string>& below)
{
    return const_cast<Section*>(static_cast<const IniRegistry*>(this)->FindSection(below));
}

IniRegistry::Section& IniRegistry::MakeSection(const std::vector<std::string>& below)
{
    if (Section* found = FindSection(below))
        return *found;
    sectionIndex_.emplace(FoldedPath(below), sections_.size());
    sections_.push_back(Section{below, {}, {}});
    modified_ = true;
    return sections_.back();
}

void IniRegistry::RebuildSectionIndex()
{
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(FoldedPath(sections_[i].Path), i);
}

void IniRegistry::SetRootKey(const std::string& root)
{
    root_ = root;
    current_.clear();
}

bool IniRegistry::OpenKey(const std::string& key, bool canCreate)
{
    std::vector<std::string> path = Resolve(key);
    std::vector<std::string> below;
    switch (Classify(path, &below)) {
    case Place::Outside:
        return false;
    case Place::Above:
        break;
    case Place::Inside:
        if (!ExistsBelow(below)) {
            if (!canCreate)
                return false;
            MakeSection(below);
        }
        break;
    }
    current_ = std::move(path);
    return true;
}

bool IniRegistry::KeyExists(const std::string& key) const
{
    std::vector<std::string> below;
    switch (Classify(Resolve(key), &below)) {
    case Place::Outside:
        return false;
    case Place::Above:
        return true;
    case Place::Inside:
        break;
    }
    return ExistsBelow(below);
}

bool IniRegistry::DeleteKey(const std::string& key)
{
    std::vector<std::string> below;
    if (Classify(Resolve(key), &below) != Place::Inside || below.empty())
        return false;
    const std::string folded = FoldedPath(below);
    auto inKey = [&](const std::vector<std::string>& names) {
        const std::string path = FoldedPath(names);
        return path == folded || path.starts_with(folded + '\\');
    };
    const std::size_t before = sections_.size();
    sections_.erase(std::remove_if(sections_.begin() + 1, sections_.end(),
                                   [&](const Section& s) { return inKey(s.Path); }),
                    sections_.end());
    if (sections_.size() == before)
        return false;
    RebuildSectionIndex();
    modified_ = true;
    std::vector<std::string> currentBelow;
    if (Classify(current_, &currentBelow) == Place::Inside && inKey(currentBelow))
        current_.clear();
    return true;
}

const IniRegistry::Value* IniRegistry::FindValue(const std::string& name) const
{
    std::vector<std::string> below;
    if (Classify(current_, &below) != Place::Inside)
        return nullptr;
    const Section* section = FindSection(below);
    if (!section)
        return nullptr;
    auto found = section->Index.find(Fold(name));
    return found == section->Index.end() ? nullptr : &section->Values[found->second];
}

void IniRegistry::PutValue(const std::string& name, bool binary, std::string data)
{
    std::vector<std::string> below;
    if (Classify(current_, &below) != Place::Inside)
        throw ERegistryException("キー " + JoinPath(current_) + " には値を書き込めません: 保存されるのは " +
                                 JoinPath(storedKey_) + " とその下のキーだけです");
    if (data.size() > MaxValueBytes)
        throw ERegistryException("値 '" + name + "' が大きすぎるため保存できません (" + std::to_string(data.size()) +
                                 " バイト)");
    Section& section = MakeSection(below);
    const std::string folded = Fold(name);
    auto found = section.Index.find(folded);
    if (found != section.Index.end()) {
        section.Values[found->second].Binary = binary;
        section.Values[found->second].Data = std::move(data);
    } else {
        section.Index.emplace(folded, section.Values.size());
        section.Values.push_back(Value{name, binary, std::move(data)});
    }
    modified_ = true;
}

bool IniRegistry::ValueExists(const std::string& name) const { return FindValue(name) != nullptr; }

int64_t IniRegistry::GetDataSize(const std::string& name) const
{
    const Value* value = FindValue(name);
    return value ? static_cast<int64_t>(value->Data.size()) : -1;
}

std::vector<uint8_t> IniRegistry::ReadBinaryData(const std::string& name) const
{
    const Value* value = FindValue(name);
    if (!value)
        throw ERegistryException("値 '" + name + "' がありません");
    if (!value->Binary)
        throw ERegistryException(WrongTypeMessage(name));
    return std::vector<uint8_t>(value->Data.begin(), value->Data.end());
}

void IniRegistry::WriteBinaryData(const std::string& name, const std::vector<uint8_t>& data)
{
    PutValue(name, true, std::string(data.begin(), data.end()));
}

std::string IniRegistry::ReadString(const std::string& name) const
{
    const Value* value = FindValue(name);
    if (!value)
        return {};
    if (value->Binary)
        throw ERegistryException(WrongTypeMessage(name));
    return value->Data;
}

void IniRegistry::WriteString(const std::string& name, const std::string& value) { PutValue(name, false, value); }
