#include "editor/core/TPropertyReader.h"

#include <algorithm>
#include <cstring>

#include "editor/core/EPropertyReadError.h"
#include "editor/core/PropertySetFormat.h"

using PropertySetFormat::Tag;

namespace {

uint32_t GetU32(std::span<const uint8_t> bytes, std::size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

const char* TypeName(uint8_t tag)
{
    switch (static_cast<Tag>(tag)) {
    case Tag::Integer:
        return "an integer";
    case Tag::Boolean:
        return "a boolean";
    case Tag::String:
        return "a string";
    case Tag::Strings:
        return "a string list";
    case Tag::Collection:
        return "a collection";
    }
    return "an unknown type";
}

// Reads the u32 length-prefixed pieces of a payload, checking each against
// what is left.
class PayloadCursor {
public:
    PayloadCursor(const TPropertyReader& reader, std::span<const uint8_t> payload)
        : reader_(reader), payload_(payload)
    {
    }
    std::size_t Left() const { return payload_.size() - at_; }
    uint32_t Count(const char* what)
    {
        if (Left() < 4)
            reader_.Fail(std::string("the ") + what + " ends before its length");
        const uint32_t n = GetU32(payload_, at_);
        at_ += 4;
        return n;
    }
    std::span<const uint8_t> Piece(const char* what)
    {
        const uint32_t n = Count(what);
        if (n > Left())
            reader_.Fail(std::string("the length of a ") + what + " runs past the end of its record");
        const std::span<const uint8_t> piece = payload_.subspan(at_, n);
        at_ += n;
        return piece;
    }
    std::size_t At() const { return at_; }
    void End()
    {
        if (Left() != 0)
            reader_.Fail("the record holds bytes after its value");
    }

private:
    const TPropertyReader& reader_;
    std::span<const uint8_t> payload_;
    std::size_t at_ = 0;
};

}  // namespace

TPropertyReader::TPropertyReader(std::span<const uint8_t> block, std::size_t offset, std::string prefix)
    : block_(block), offset_(offset), prefix_(std::move(prefix))
{
}

TPropertyReader TPropertyReader::ForValue(std::span<const uint8_t> value)
{
    using namespace PropertySetFormat;
    if (value.size() < HeaderSize)
        throw EPropertyReadError("the value is too short to be a property set", value.size());
    if (std::memcmp(value.data(), Signature, sizeof Signature) != 0)
        throw EPropertyReadError("the value is not a property set (its signature is wrong)", 0);
    const unsigned version = value[4] | value[5] << 8;
    if (version != PropertySetFormat::Version)
        throw EPropertyReadError("property sets of version " + std::to_string(version) + " cannot be read", 4);
    return TPropertyReader(value.subspan(HeaderSize), HeaderSize, {});
}

bool TPropertyReader::Next()
{
    name_.clear();
    payload_ = {};
    if (next_ >= block_.size())
        return false;
    record_ = next_;
    const std::size_t nameLength = block_[record_];
    if (nameLength == 0)
        FailAt(record_, "a record has an empty name");
    // name, tag and payload size
    if (block_.size() - record_ - 1 < nameLength)
        FailAt(record_, "the value ends inside a property name");
    name_.assign(reinterpret_cast<const char*>(block_.data() + record_ + 1), nameLength);
    std::size_t at = record_ + 1 + nameLength;
    if (block_.size() - at < 5)
        Fail("the value ends inside a record's header");
    tag_ = block_[at];
    if (tag_ < static_cast<uint8_t>(Tag::Integer) || tag_ > static_cast<uint8_t>(Tag::Collection))
        Fail("the record has an unknown type " + std::to_string(tag_));
    const uint32_t size = GetU32(block_, at + 1);
    at += 5;
    if (size > block_.size() - at)
        Fail("the record's size runs past the end of the value");
    payload_ = block_.subspan(at, size);
    payloadAt_ = at;
    next_ = at + size;
    return true;
}

void TPropertyReader::FailAt(std::size_t position, const std::string& reason) const
{
    throw EPropertyReadError(reason, offset_ + position, name_.empty() ? std::string() : FullName());
}

void TPropertyReader::Fail(const std::string& reason) const { FailAt(record_, reason); }

std::span<const uint8_t> TPropertyReader::Payload(uint8_t tag, const char* typeName) const
{
    if (tag_ != tag)
        Fail(std::string("expected ") + typeName + ", found " + TypeName(tag_));
    return payload_;
}

int32_t TPropertyReader::ReadInteger() const
{
    const std::span<const uint8_t> p = Payload(static_cast<uint8_t>(Tag::Integer), "an integer");
    if (p.size() != 4)
        Fail("an integer must be 4 bytes, not " + std::to_string(p.size()));
    return static_cast<int32_t>(GetU32(p, 0));
}

int32_t TPropertyReader::ReadInteger(int32_t min, int32_t max) const { return std::clamp(ReadInteger(), min, max); }

int32_t TPropertyReader::ReadOrdinal(int32_t last) const
{
    const int32_t value = ReadInteger();
    if (value < 0 || value > last)
        Fail("the value " + std::to_string(value) + " is not one of 0.." + std::to_string(last));
    return value;
}

TColor TPropertyReader::ReadColor() const { return static_cast<TColor>(static_cast<uint32_t>(ReadInteger())); }

bool TPropertyReader::ReadBoolean() const
{
    const std::span<const uint8_t> p = Payload(static_cast<uint8_t>(Tag::Boolean), "a boolean");
    if (p.size() != 1 || p[0] > 1)
        Fail("a boolean must be one byte, 0 or 1");
    return p[0] == 1;
}

std::string TPropertyReader::ReadString() const
{
    const std::span<const uint8_t> p = Payload(static_cast<uint8_t>(Tag::String), "a string");
    return std::string(p.begin(), p.end());
}

std::vector<std::string> TPropertyReader::ReadStrings() const
{
    PayloadCursor cursor(*this, Payload(static_cast<uint8_t>(Tag::Strings), "a string list"));
    const uint32_t count = cursor.Count("string list");
    // Every string takes at least its length.
    if (count > cursor.Left() / 4)
        Fail("the string list claims " + std::to_string(count) + " strings, more than its record can hold");
    std::vector<std::string> strings;
    strings.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const std::span<const uint8_t> s = cursor.Piece("string");
        strings.emplace_back(s.begin(), s.end());
    }
    cursor.End();
    return strings;
}

std::vector<TPropertyReader> TPropertyReader::ReadCollection(std::size_t maxItems) const
{
    const std::span<const uint8_t> payload = Payload(static_cast<uint8_t>(Tag::Collection), "a collection");
    PayloadCursor cursor(*this, payload);
    const uint32_t count = cursor.Count("collection");
    if (count > maxItems)
        Fail("the collection claims " + std::to_string(count) + " items; it holds at most " +
             std::to_string(maxItems));
    std::vector<TPropertyReader> items;
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const std::span<const uint8_t> block = cursor.Piece("collection item");
        const std::size_t blockAt = payloadAt_ + cursor.At() - block.size();
        items.push_back(TPropertyReader(block, offset_ + blockAt, FullName() + "[" + std::to_string(i) + "]."));
    }
    cursor.End();
    return items;
}
