#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

// Tells which of a few byte patterns occur in a line, looking at the line
// once per distinct first byte of the patterns wanted (a memchr for each),
// and at a candidate only at the patterns whose second byte matches. Used
// to test many delimiters against every line of a long document.
//
// Patterns are identified by their index in the list given at creation. An
// empty pattern never occurs. Only wanted patterns are looked for.
class PatternScanner {
public:
    explicit PatternScanner(std::vector<std::string> patterns);

    void Want(int id);
    void Unwant(int id);
    bool Wanted(int id) const { return wanted_[static_cast<size_t>(id)] != 0; }
    bool AnyWanted() const { return wantedCount_ > 0; }

    // The wanted patterns that occur in `text`, each once, in no order.
    const std::vector<int>& FindIn(std::string_view text);

private:
    struct Slot {
        unsigned char first = 0;
        std::array<std::vector<int>, 256> bySecond;  // patterns of two bytes or more
        std::vector<int> single;                     // the one-byte pattern, if any
        int wanted = 0;                              // wanted patterns starting with `first`
    };

    std::vector<std::string> patterns_;
    std::vector<int> slotOf_;
    std::vector<Slot> slots_;
    std::vector<char> wanted_;
    int wantedCount_ = 0;
    std::vector<unsigned> seen_;  // the stamp of the last text a pattern was found in
    unsigned stamp_ = 0;
    std::vector<int> found_;
};
