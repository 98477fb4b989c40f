#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/TColor.h"

// Collects the records of a property set (see PropertySetFormat.h), one per
// Write call, in the order written. Bytes() gives them without the header,
// which is also the form of a collection item.
class TPropertyWriter {
public:
    // A record: its name, and its tag, payload size and payload encoded.
    struct Record {
        std::string Name;
        std::vector<uint8_t> Data;
        bool operator==(const Record&) const = default;
    };

    // Names are 1..255 bytes; another length throws std::length_error.
    void WriteInteger(std::string_view name, int32_t value);
    void WriteColor(std::string_view name, TColor value);
    void WriteBoolean(std::string_view name, bool value);
    void WriteString(std::string_view name, std::string_view value);
    void WriteStrings(std::string_view name, const std::vector<std::string>& values);
    // Each item is a writer of its own holding the item's records.
    void WriteCollection(std::string_view name, const std::vector<TPropertyWriter>& items);

    // Writes the records of `values` that `defaults` lacks or holds with
    // another value.
    void WriteChanged(const TPropertyWriter& values, const TPropertyWriter& defaults);

    const std::vector<Record>& Records() const { return records_; }
    std::vector<uint8_t> Bytes() const;

private:
    std::vector<uint8_t>& Begin(std::string_view name, uint8_t tag, std::size_t size);

    std::vector<Record> records_;
};
