#include "editor/core/TStoreComponent.h"

#include "editor/core/PropertySetFormat.h"
#include "editor/core/TPropertyReader.h"
#include "editor/core/TPropertyWriter.h"
#include "editor/core/TStreamReg.h"

std::vector<uint8_t> TStoreComponent::WriteToBytes() const
{
    TPropertyWriter writer;
    WriteProperties(writer);
    std::vector<uint8_t> bytes(std::begin(PropertySetFormat::Signature), std::end(PropertySetFormat::Signature));
    bytes.push_back(static_cast<uint8_t>(PropertySetFormat::Version));
    bytes.push_back(static_cast<uint8_t>(PropertySetFormat::Version >> 8));
    const std::vector<uint8_t> records = writer.Bytes();
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

void TStoreComponent::ReadFromBytes(std::span<const uint8_t> bytes)
{
    TPropertyReader reader = TPropertyReader::ForValue(bytes);
    while (reader.Next())
        ReadProperty(reader.Name(), reader);
}

void TStoreComponent::ReadFromRegistry(TRegistry& reg, const std::string& rootKey, const std::string& subKey,
                                       const std::string& valueName)
{
    std::vector<uint8_t> bytes;
    if (TStreamReg::ReadStream(bytes, reg, rootKey, subKey, valueName) && !bytes.empty())
        ReadFromBytes(bytes);
}

void TStoreComponent::WriteToRegistry(TRegistry& reg, const std::string& rootKey, const std::string& subKey,
                                      const std::string& valueName) const
{
    TStreamReg::WriteStream(WriteToBytes(), reg, rootKey, subKey, valueName);
}

void TStoreComponent::WriteProperties(TPropertyWriter&) const {}

bool TStoreComponent::ReadProperty(const std::string&, const TPropertyReader&) { return false; }
