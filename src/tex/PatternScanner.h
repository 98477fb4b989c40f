#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tex/ByteSearch.h"

// Tells which of a few byte patterns occur in a line, looking at the line
// once per distinct first byte of the patterns wanted (16 bytes at a time),
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

    // FindIn over the bytes of `text` before its first `cut` byte (the
    // patterns found are then in Found()); also tells how many bytes come
    // before that cut and how many `counted` bytes they hold. One pass over
    // the text when the wanted patterns share their first byte and none
    // holds the cut byte.
    struct CutScan {
        size_t length;
        size_t count;
    };
    CutScan FindBeforeCut(std::string_view text, char cut, char counted);
    const std::vector<int>& Found() const { return found_; }

private:
    struct Slot {
        unsigned char first = 0;
        std::array<std::vector<int>, 256> bySecond;  // patterns of two bytes or more
        std::vector<int> single;                     // the one-byte pattern, if any
        std::string seconds;                         // the distinct second bytes
        int wanted = 0;                              // wanted patterns starting with `first`
        bool holdsCut = false;                       // a pattern holds the cut byte of FindBeforeCut
    };

    void TryAt(const char* data, size_t n, size_t pos, const Slot& slot, int& left);
    void NewText();

    std::vector<std::string> patterns_;
    std::vector<int> slotOf_;
    std::vector<Slot> slots_;
    std::vector<char> wanted_;
    int wantedCount_ = 0;
    std::vector<unsigned> seen_;  // the stamp of the last text a pattern was found in
    unsigned stamp_ = 0;
    std::vector<int> found_;
    std::vector<uint64_t> prefixes_;  // the first eight bytes of each pattern, as laid out in memory
    std::vector<uint64_t> masks_;     // which of them the pattern has
    int cutChar_ = -1;                // the cut byte the slots' holdsCut is for
};
