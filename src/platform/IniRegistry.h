#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/TRegistry.h"

// A line of the settings file that could not be used. Line counts from 1;
// 0 stands for the file as a whole.
struct IniDamage {
    std::size_t Line = 0;
    std::string Reason;
};

// One registry key and everything under it, kept in an INI file: the key the
// program stores its settings under (for Scrivlet HKEY_CURRENT_USER
// "\Software\Veltrane\Scrivlet", by default in
// $XDG_CONFIG_HOME/Veltrane/Scrivlet.ini). Its subkeys are the file's
// sections, its values the lines of a section:
//
//     [Window]
//     Left="100"
//     [EditView]
//     setting=hex:5343524C0100...
//     [Some\Deeper\Key]
//
// A string value is written in double quotes, with \\, \", \r, \n, \t and
// \xHH for a backslash, a quote and the control bytes; every other byte,
// Shift-JIS and UTF-8 included, is written as it is. A binary value is
// "hex:" and two hex digits a byte. Value names are written bare with the
// same escapes, '=' and a leading '[', ';' or '#' as \xHH. Key names in
// section headers are separated by '\' and use %HH for '%', '[', ']' and
// control bytes. Values of the key itself come before the first section.
// Lines starting with ';' or '#' are comments; spaces and tabs around a line
// and around the '=' are ignored; CR LF line ends and a UTF-8 byte-order mark
// are accepted.
//
// Key and value names are compared without regard to the case of ASCII
// letters, as by the registry; a name keeps the spelling it was first
// stored with. The keys above the stored key exist and can be opened but
// hold no values; keys outside it, and other roots, cannot be created.
//
// The file is read once, by the constructor; a damaged file is read as far
// as it is sound and every line that was skipped is listed in Damage().
// Changes stay in memory until Flush() writes the whole file: to a new
// file beside it that is flushed to disk and then renamed over it, so the
// file on disk is always either the old one or the new one. Destroying the
// object does not write: changes that were never flushed are dropped, with
// a warning on standard error.
class IniRegistry : public TRegistry {
public:
    // The largest file read (the rest is ignored and reported) or written,
    // and the largest single value.
    static constexpr std::size_t MaxFileBytes = 64u << 20;
    static constexpr std::size_t MaxValueBytes = 16u << 20;
    // The number of damaged lines listed one by one; more are only counted.
    static constexpr std::size_t MaxDamageListed = 100;

    // $XDG_CONFIG_HOME/Veltrane/Scrivlet.ini; ~/.config/... when the
    // variable is unset, empty or not an absolute path.
    static std::string DefaultPath();

    // Reads the file at `path`, which stores the key `storedKey` (a path from
    // the root `storedRoot`, such as "\Software\Veltrane\Scrivlet"). A file
    // that does not exist is an empty key. Throws ERegistryException when
    // the file exists but cannot be read.
    IniRegistry(std::string path, const std::string& storedKey, std::string storedRoot = CurrentUser);
    ~IniRegistry() override;
    IniRegistry(const IniRegistry&) = delete;
    IniRegistry& operator=(const IniRegistry&) = delete;

    const std::string& Path() const { return path_; }
    // Whether there are changes that Flush has not written yet.
    bool Modified() const { return modified_; }
    // Writes every key and value when anything changed since the file was
    // read or last written. A failure throws ERegistryException naming the
    // file and the system's reason; the file on disk is then untouched and
    // the changes stay pending, so a later Flush can try again. Folders
    // missing on the way to the file are created (mode 0700). A file that is
    // a symbolic link is replaced at the link's target; an existing file
    // keeps its permissions.
    void Flush();

    // What was wrong with the file when it was read.
    const std::vector<IniDamage>& Damage() const { return damage_; }
    // All damaged lines, also those beyond MaxDamageListed.
    std::size_t DamageCount() const { return damageCount_; }
    // The damage as text, one line each ("12 行目: ..."), empty when none.
    std::string DamageReport() const;
    // Where the first Flush keeps the file as it was read, when it was
    // damaged: the lines that could not be read are not written again, so
    // they are not lost with it. Beside the file, named after it with
    // ".damaged" (".damaged.2", ... when that exists); empty when the file
    // was sound.
    const std::string& BackupPath() const { return backupPath_; }

    const std::string& RootKey() const override { return root_; }
    void SetRootKey(const std::string& root) override;
    bool OpenKey(const std::string& key, bool canCreate) override;
    void CloseKey() override { current_.clear(); }
    bool KeyExists(const std::string& key) const override;
    bool DeleteKey(const std::string& key) override;

    bool ValueExists(const std::string& name) const override;
    int64_t GetDataSize(const std::string& name) const override;
    std::vector<uint8_t> ReadBinaryData(const std::string& name) const override;
    void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& data) override;
    std::string ReadString(const std::string& name) const override;
    void WriteString(const std::string& name, const std::string& value) override;

private:
    struct Value {
        std::string Name;
        bool Binary = false;
        std::string Data;
    };
    // A key that has a section: the stored key itself (an empty Path, always
    // sections_[0]) or a key below it.
    struct Section {
        std::vector<std::string> Path;  // names below the stored key
        std::vector<Value> Values;
        std::unordered_map<std::string, std::size_t> Index;  // folded name -> Values
    };
    enum class Place { Inside, Above, Outside };

    void Load();
    void Parse(const std::string& text);
    void AddDamage(std::size_t line, std::string reason);
    std::string Serialize() const;

    std::vector<std::string> Resolve(const std::string& key) const;
    // Where a path from the root lies; for Inside, `below` receives the
    // names under the stored key.
    Place Classify(const std::vector<std::string>& path, std::vector<std::string>* below) const;
    bool ExistsBelow(const std::vector<std::string>& below) const;
    Section* FindSection(const std::vector<std::string>& below);
    const Section* FindSection(const std::vector<std::string>& below) const;
    Section& MakeSection(const std::vector<std::string>& below);
    void RebuildSectionIndex();
    const Value* FindValue(const std::string& name) const;
    void PutValue(const std::string& name, bool binary, std::string data);

    std::string path_;
    std::string storedRoot_;
    std::vector<std::string> storedKey_;
    std::string root_ = CurrentUser;
    std::vector<std::string> current_;  // the current key's names from the root
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded path -> sections_
    bool modified_ = false;
    std::vector<IniDamage> damage_;
    std::size_t damageCount_ = 0;
    // The file as read, kept when it was damaged, and where Flush keeps it.
    std::string damagedText_;
    std::string backupPath_;
};
