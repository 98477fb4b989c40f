#pragma once
#include <string>
#include <string_view>

// The typesetter's console output as the compile window shows it: Shift-JIS
// bytes arriving in pieces of any size, decoded through the codec into UTF-8
// text. A double-byte character split between two pieces is held back until
// its second byte comes; CR LF and a lone CR become LF; other control bytes
// are passed on as they are.
class ConsoleDecoder {
public:
    // The text of the characters complete so far.
    std::string Feed(std::string_view bytes);
    // The rest, once the output has ended (a lone lead byte shows as such).
    std::string Finish();

private:
    std::string Decode(std::string_view bytes);
    std::string pending_;
    bool afterCr_ = false;
};
