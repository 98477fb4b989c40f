#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TRegistry;

// Moves the bytes of a stored component to and from one binary registry
// value: value `valueName` of key `subKey` under root `rootKey` (an empty
// rootKey keeps the registry's root). The key is created when missing.
// Both leave the registry with no key open and with the root it had.
class TStreamReg {
public:
    // Throws ERegistryException when the key cannot be opened.
    static void WriteStream(const std::vector<uint8_t>& bytes, TRegistry& reg, const std::string& rootKey,
                            const std::string& subKey, const std::string& valueName);
    // Asks for the value's size first: when the value does not exist (or the
    // key cannot be opened) `bytes` is left as it is and false returned.
    // Otherwise `bytes` receives the value, possibly none.
    static bool ReadStream(std::vector<uint8_t>& bytes, TRegistry& reg, const std::string& rootKey,
                           const std::string& subKey, const std::string& valueName);
};
