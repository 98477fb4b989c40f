#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

// A stored property set could not be read: it is damaged or is not a
// property set at all. Offset is the byte of the value where the fault was
// found; Property names the record it was in, empty when outside one.
class EPropertyReadError : public std::runtime_error {
public:
    EPropertyReadError(const std::string& reason, std::size_t offset, const std::string& property = {})
        : std::runtime_error(Describe(reason, offset, property)), Reason(reason), Offset(offset), Property(property)
    {
    }

    std::string Reason;
    std::size_t Offset;
    std::string Property;

private:
    static std::string Describe(const std::string& reason, std::size_t offset, const std::string& property)
    {
        std::string text = "Stored settings are damaged at byte " + std::to_string(offset);
        if (!property.empty())
            text += " (property \"" + property + "\")";
        return text + ": " + reason;
    }
};
