#pragma once
#include <cstdint>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A registry operation failed: a key could not be opened or created, or a
// value was missing or held the other kind of data.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A tree of keys holding named values, as the Windows registry keeps them:
// key paths are separated by '\', and key and value names are compared
// without regard to the case of ASCII letters. A root key names one tree
// ("HKEY_CURRENT_USER"); the current key is where the value operations act,
// the root itself until a key is opened.
//
// Only what settings need is here: binary and string values.
class TRegistry {
public:
    static constexpr const char* CurrentUser = "HKEY_CURRENT_USER";

    virtual ~TRegistry() = default;

    virtual const std::string& RootKey() const = 0;
    // Changing the root closes the current key. SetRootKey and CloseKey do
    // not throw: callers use them to clean up.
    virtual void SetRootKey(const std::string& root) = 0;

    // Makes `key` the current key. A path starting with '\' is taken from the
    // root, any other path from the current key. With `canCreate` the missing
    // keys on the path are created. Returns false when the key is missing
    // (and not created); the current key is then unchanged.
    virtual bool OpenKey(const std::string& key, bool canCreate) = 0;
    // The current key goes back to the root.
    virtual void CloseKey() = 0;
    // The same paths as OpenKey.
    virtual bool KeyExists(const std::string& key) const = 0;
    // Removes the key with everything under it; false when it was missing
    // or is the root. Removing the current key or one above it closes it.
    virtual bool DeleteKey(const std::string& key) = 0;

    // Values of the current key.
    virtual bool ValueExists(const std::string& name) const = 0;
    // Bytes the value holds, -1 when there is no such value.
    virtual int64_t GetDataSize(const std::string& name) const = 0;
    // Throw ERegistryException when the value is missing or holds a string.
    virtual std::vector<uint8_t> ReadBinaryData(const std::string& name) const = 0;
    virtual void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& data) = 0;
    // An empty string when the value is missing; throws ERegistryException
    // when it holds binary data.
    virtual std::string ReadString(const std::string& name) const = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

// How the registry's key and value names compare, and how key paths read:
// shared by every implementation.
namespace RegistryNames {

inline char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

inline bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

// Orders names as SameName equates them.
struct NameLess {
    bool operator()(std::string_view a, std::string_view b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
        });
    }
};

// The key names of `key` from the root: a path starting with '\' is taken
// from the root, any other from `current`. Empty names are skipped.
inline std::vector<std::string> ResolveKeyPath(std::string_view key, const std::vector<std::string>& current)
{
    std::vector<std::string> path;
    if (key.empty() || key.front() != '\\')
        path = current;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string_view::npos)
            end = key.size();
        if (end > start)
            path.emplace_back(key.substr(start, end - start));
        start = end + 1;
    }
    return path;
}

}  // namespace RegistryNames
