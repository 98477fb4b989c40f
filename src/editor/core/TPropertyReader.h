#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/TColor.h"

// Walks the records of a stored property set (see PropertySetFormat.h)
// and decodes the value of the current one. Every fault of the bytes
// raises EPropertyReadError, naming the byte and the property; nothing is
// read outside the bytes given, and nothing is allocated beyond what they
// can hold. The reader does not copy the bytes: they must outlive it.
class TPropertyReader {
public:
    // Over a whole stored value: checks the signature and the version.
    static TPropertyReader ForValue(std::span<const uint8_t> value);

    // Moves to the next record; false after the last one.
    bool Next();
    // The current record's name, relative to the block it is in.
    const std::string& Name() const { return name_; }
    // The name with the collection items it is in ("View.Brackets[2].LeftBracket").
    std::string FullName() const { return prefix_ + name_; }

    // The current record's value. A record of another type is a fault.
    int32_t ReadInteger() const;
    // An integer brought into [min, max].
    int32_t ReadInteger(int32_t min, int32_t max) const;
    // An enumeration's ordinal, 0..last; outside that is a fault.
    int32_t ReadOrdinal(int32_t last) const;
    TColor ReadColor() const;
    bool ReadBoolean() const;
    std::string ReadString() const;
    std::vector<std::string> ReadStrings() const;
    // A reader over each item's records; more than maxItems items is a fault.
    std::vector<TPropertyReader> ReadCollection(std::size_t maxItems) const;

    // Raises EPropertyReadError for the current record.
    [[noreturn]] void Fail(const std::string& reason) const;

private:
    TPropertyReader(std::span<const uint8_t> block, std::size_t offset, std::string prefix);

    // The payload, after checking the record's tag.
    std::span<const uint8_t> Payload(uint8_t tag, const char* typeName) const;
    [[noreturn]] void FailAt(std::size_t position, const std::string& reason) const;

    std::span<const uint8_t> block_;
    std::size_t offset_ = 0;  // of block_ in the whole value
    std::string prefix_;
    std::size_t next_ = 0;    // the next record's position in block_
    std::size_t record_ = 0;  // the current record's position
    std::string name_;
    uint8_t tag_ = 0;
    std::span<const uint8_t> payload_;
    std::size_t payloadAt_ = 0;
};
