#pragma once
#include <cstdint>

// The kinds of token the colouring scanners return. The values are stored
// in each row's start state (as the kind of a token cut by word wrap and as
// the previous row's last token), so they never change.
enum TTokenKind : uint8_t {
    tkEnd = 0,             // end of the text: no token
    tkSymbol = 1,          // any other single byte
    tkInteger = 3,
    tkReal = 4,
    tkBracket = 6,         // a bracket pair's region
    tkComment = 7,         // from the commenter to the end of the logical line
    tkReserve = 8,         // a reserved word cut by word wrap
    tkTab = 9,
    tkIdentifier = 11,     // letters, digits and "_"
    tkDbSymbol = 12,       // one double-byte symbol
    tkDbDigits = 14,       // run of double-byte digits
    tkDbLatin = 15,        // run of double-byte Latin letters
    tkHiragana = 16,
    tkKatakana = 17,
    tkKanji = 18,
    tkHalfKanaSymbol = 19, // one half-width katakana punctuation byte
    tkHalfKana = 20,       // run of half-width katakana
    tkUrl = 21,
    tkMail = 22,
    tkHex = 23,            // hexadecimal number after the hex prefix
    tkSingleQuoted = 24,   // '...' (base scanner only)
    tkDoubleQuoted = 25,   // "..." (base scanner only)
    tkQuotation = 26,      // string in the scheme's quotation character
    tkControlCode = 27,    // "#" and decimal digits
    tkHexControlCode = 28, // "#$" and hexadecimal digits
};
