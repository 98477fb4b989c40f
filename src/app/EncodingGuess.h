#pragma once
#include <cstddef>
#include <string_view>

// A quick look at a file's first bytes: is it Shift-JIS text, or does it
// look like another encoding? The editor shows and saves the bytes as they
// are either way; the guess only decides whether the user is told.
enum class TextEncoding {
    ShiftJis,   // Shift-JIS or plain ASCII (also with a few invalid bytes)
    Utf8,       // a UTF-8 byte-order mark, or valid UTF-8 with non-ASCII characters
    Utf16,      // a UTF-16 byte-order mark, or a NUL in every other byte
    EucJp,      // only EUC-JP double-byte codes, none of Shift-JIS's first lead bytes
    Iso2022Jp,  // 7-bit text with JIS escape sequences
    Binary,     // NUL bytes
    Unknown,    // many bytes that are not Shift-JIS (for example Latin-1)
};

// How much of a file the guess looks at.
constexpr std::size_t kEncodingSampleSize = 64 * 1024;

// Guesses from `sample`, the first bytes of a file. `truncated` says the file
// goes on after it, so that a multi-byte character cut at the end does not
// count against UTF-8.
TextEncoding GuessEncoding(std::string_view sample, bool truncated);
