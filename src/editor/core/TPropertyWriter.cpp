#include "editor/core/TPropertyWriter.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "editor/core/PropertySetFormat.h"

using PropertySetFormat::Tag;

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Size32(std::size_t size)
{
    if (size > std::numeric_limits<uint32_t>::max())
        throw std::length_error("TPropertyWriter: a property is too large to store");
    return static_cast<uint32_t>(size);
}

void PutBytes(std::vector<uint8_t>& out, std::string_view bytes)
{
    PutU32(out, Size32(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::vector<uint8_t>& TPropertyWriter::Begin(std::string_view name, uint8_t tag, std::size_t size)
{
    if (name.empty() || name.size() > PropertySetFormat::MaxNameLength)
        throw std::length_error("TPropertyWriter: a property name must be 1 to 255 bytes");
    Record& record = records_.emplace_back();
    record.Name = std::string(name);
    record.Data.reserve(5 + size);
    record.Data.push_back(tag);
    PutU32(record.Data, Size32(size));
    return record.Data;
}

void TPropertyWriter::WriteInteger(std::string_view name, int32_t value)
{
    PutU32(Begin(name, static_cast<uint8_t>(Tag::Integer), 4), static_cast<uint32_t>(value));
}

void TPropertyWriter::WriteColor(std::string_view name, TColor value)
{
    PutU32(Begin(name, static_cast<uint8_t>(Tag::Integer), 4), value);
}

void TPropertyWriter::WriteBoolean(std::string_view name, bool value)
{
    Begin(name, static_cast<uint8_t>(Tag::Boolean), 1).push_back(value ? 1 : 0);
}

void TPropertyWriter::WriteString(std::string_view name, std::string_view value)
{
    std::vector<uint8_t>& data = Begin(name, static_cast<uint8_t>(Tag::String), value.size());
    data.insert(data.end(), value.begin(), value.end());
}

void TPropertyWriter::WriteStrings(std::string_view name, const std::vector<std::string>& values)
{
    std::size_t size = 4;
    for (const std::string& s : values)
        size += 4 + s.size();
    std::vector<uint8_t>& data = Begin(name, static_cast<uint8_t>(Tag::Strings), size);
    PutU32(data, Size32(values.size()));
    for (const std::string& s : values)
        PutBytes(data, s);
}

void TPropertyWriter::WriteCollection(std::string_view name, const std::vector<TPropertyWriter>& items)
{
    std::vector<std::vector<uint8_t>> blocks;
    std::size_t size = 4;
    for (const TPropertyWriter& item : items) {
        blocks.push_back(item.Bytes());
        size += 4 + blocks.back().size();
    }
    std::vector<uint8_t>& data = Begin(name, static_cast<uint8_t>(Tag::Collection), size);
    PutU32(data, Size32(blocks.size()));
    for (const std::vector<uint8_t>& block : blocks) {
        PutU32(data, Size32(block.size()));
        data.insert(data.end(), block.begin(), block.end());
    }
}

void TPropertyWriter::WriteChanged(const TPropertyWriter& values, const TPropertyWriter& defaults)
{
    for (const Record& record : values.records_) {
        const auto& base = defaults.records_;
        if (std::find(base.begin(), base.end(), record) == base.end())
            records_.push_back(record);
    }
}

std::vector<uint8_t> TPropertyWriter::Bytes() const
{
    std::vector<uint8_t> out;
    for (const Record& record : records_) {
        out.push_back(static_cast<uint8_t>(record.Name.size()));
        out.insert(out.end(), record.Name.begin(), record.Name.end());
        out.insert(out.end(), record.Data.begin(), record.Data.end());
    }
    return out;
}
