#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

// A stored property set could not be read: it is damaged or is not a
// property set at all. Offset is the byte of the value where the fault was
// found; Property names the record it was in, empty when outside one.
// Reason says what was wrong, for diagnosis; the text the user reads
// (what()) names the place only.
class EPropertyReadError : public std::runtime_error {
public:
    EPropertyReadError(const std::string& reason, std::size_t offset, const std::string& property = {})
        : std::runtime_error(Describe(offset, property)), Reason(reason), Offset(offset), Property(property)
    {
    }

    std::string Reason;
    std::size_t Offset;
    std::string Property;

private:
    static std::string Describe(std::size_t offset, const std::string& property)
    {
        std::string text = "保存されたエディタの設定が " + std::to_string(offset) + " バイト目で壊れています";
        if (!property.empty())
            text += "（プロパティ " + property + "）";
        return text;
    }
};
