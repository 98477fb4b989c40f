#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TPropertyReader;
class TPropertyWriter;
class TRegistry;

// An object whose published properties can be stored as one binary value
// (see PropertySetFormat.h) and read back. Subclasses publish their
// properties by overriding WriteProperties and ReadProperty, calling their
// base's first.
class TStoreComponent {
public:
    virtual ~TStoreComponent() = default;

    // The stored form: the header and every record WriteProperties writes.
    std::vector<uint8_t> WriteToBytes() const;
    // Sets the properties the bytes hold, in their order; records of names
    // this class does not publish are skipped. A damaged value raises
    // EPropertyReadError: the properties read before the fault keep their
    // new values.
    void ReadFromBytes(std::span<const uint8_t> bytes);

    // Opens rootKey and subKey (created when missing) and, when the value
    // exists and holds at least one byte, reads the component from it; a
    // missing or empty value leaves the component as it is. A damaged value
    // raises EPropertyReadError to the caller.
    void ReadFromRegistry(TRegistry& reg, const std::string& rootKey, const std::string& subKey,
                          const std::string& valueName);
    // Stores WriteToBytes() as the binary value; the key is created when missing.
    void WriteToRegistry(TRegistry& reg, const std::string& rootKey, const std::string& subKey,
                         const std::string& valueName) const;

protected:
    TStoreComponent() = default;
    TStoreComponent(const TStoreComponent&) = default;
    TStoreComponent& operator=(const TStoreComponent&) = default;

    virtual void WriteProperties(TPropertyWriter& writer) const;
    // Sets the property `name` from the reader's current record and returns
    // true, or returns false when the class does not publish that name.
    virtual bool ReadProperty(const std::string& name, const TPropertyReader& reader);
};
