#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/core/TRowAttributeData.h"
#include "editor/core/TTokenKind.h"

class TFountain;
class TFountainBracketCollection;
class TFountainColor;
class TRowAttributeStringList;

// The table-driven scanner of a colouring scheme. It splits a text into
// tokens (see TTokenKind), carrying the state that links one row to the
// next: an open bracket region and a token cut by word wrap.
//
// A token starts through a 256-entry table of handlers indexed by its first
// byte; a token continued from the row before runs through a second table
// indexed by its kind. Both are built when the scanner is made. Every
// handler steps over whole characters: a double-byte character is never
// split, so its second byte (which may be 0x5C, "\") never starts a token.
// A lead byte at the end of the text or before a byte that cannot follow it
// is a character of one byte.
//
// The base scanner knows brackets, reserved words, numbers, identifiers,
// double-byte classes and '...'/"..." strings. A scanner holds no state
// between passes; everything lasting lives in the rows' start states.
class TFountainParser {
public:
    // Throws std::invalid_argument when fountain is null.
    explicit TFountainParser(const TFountain* fountain);
    virtual ~TFountainParser();
    TFountainParser(const TFountainParser&) = delete;
    TFountainParser& operator=(const TFountainParser&) = delete;

    // Points the scanner at `text` (which must outlive the scan) and loads
    // `state`. The text ends at its first CR or LF, if any.
    void SetText(std::string_view text, const TRowAttributeData& state);
    // The same for a text known to hold no CR or LF: nothing is searched.
    void SetRowText(std::string_view text, const TRowAttributeData& state);
    // Moves the scan to `pos`, a place between two tokens of the text after
    // its first token, where no region is open and no cut token pending.
    void ResumeAt(std::size_t pos);
    // Where the next token's scan begins.
    std::size_t Position() const { return pos_; }
    // The bracket region open after the last token, or -1.
    int BracketIndex() const { return bracketIndex_; }
    // Whether the scan stands between tokens with no region open and no cut
    // token pending: from here on it reads only the bytes ahead.
    bool BetweenTokens() const { return wrappedToken_ == 0 && bracketIndex_ < 0; }
    // How many bytes past the end of a token the scanner may have read to
    // decide it, when the byte before that end passes MayResumeAfter.
    std::size_t LookAhead() const { return lookAhead_; }
    // Whether the tokens before a place whose previous byte is `byte` were
    // decided without reading more than LookAhead bytes past it.
    virtual bool MayResumeAfter(unsigned char byte) const;
    // Scans one token and returns its kind; tkEnd at the end of the text.
    uint8_t NextToken();

    uint8_t Token() const { return token_; }
    std::string_view TokenText() const { return text_.substr(tokenStart_, pos_ - tokenStart_); }
    int TokenStart() const { return static_cast<int>(tokenStart_); }
    int TokenLength() const { return static_cast<int>(pos_ - tokenStart_); }
    // Whether the token's text is a reserved word (never for tkEnd,
    // tkBracket or tkComment).
    bool ReserveWord() const { return reserveWord_; }
    // The bracket pair a tkBracket token belongs to, else -1.
    int TokenBracketIndex() const { return tokenBracket_; }
    // The colour the token is drawn with; null: the control's own colours.
    virtual const TFountainColor* TokenToFountainColor() const;

    // The scanner's state as it stands after the last token.
    TRowAttributeData State() const;

    // Scans row `row` of `rows` starting from `state`, the row's start
    // state, and leaves in it the start state of the next row (apart from
    // RowAttribute and PrevRowAttribute, which belong to the row that gets
    // the state). A row marked raWrapped is scanned together with the next
    // row's text, so that a token crossing the wrap point is read whole.
    void ParseRow(int row, const TRowAttributeStringList& rows, TRowAttributeData& state);

    const TFountain& Fountain() const { return fountain_; }

    // The most bytes of a cut token a row's state can owe; a longer rest
    // continues by the rule of its kind.
    static constexpr std::size_t MaxRemain = 255;

protected:
    using TTokenHandler = void (TFountainParser::*)();

    // By first byte: starts a token at pos_, sets token_ and moves pos_ on.
    std::array<TTokenHandler, 256> MethodTable;
    // By token kind: continues a token cut at the end of the row before,
    // from pos_; consuming nothing means there is nothing to continue.
    std::array<TTokenHandler, 256> WrappedTable;

    const TFountainBracketCollection& Brackets() const;

    // Whether `s` is at p and ends on a character boundary; p must be a
    // character start.
    bool MatchAt(std::size_t p, std::string_view s) const;
    unsigned char ByteAt(std::size_t p) const { return static_cast<unsigned char>(text_[p]); }
    std::size_t Size() const { return text_.size(); }
    // End of a run of bytes for which `pred` holds, from p.
    template <class Pred>
    std::size_t SkipBytes(std::size_t p, Pred pred) const
    {
        while (p < text_.size() && pred(ByteAt(p)))
            ++p;
        return p;
    }
    // Continues a token of `kind` over a run of bytes for which `pred` holds.
    template <class Pred>
    void ByteRun(uint8_t kind, Pred pred)
    {
        pos_ = SkipBytes(pos_, pred);
        token_ = kind;
    }
    // End of a string that began before `from`: just past the first
    // unpaired `quote`, or the end of the text. A doubled quote stands for
    // itself; double-byte characters are stepped over whole.
    std::size_t QuotedEnd(std::size_t from, unsigned char quote) const;

    static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
    static bool IsHexDigit(unsigned char c)
    {
        return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    }
    static bool IsIdentChar(unsigned char c)
    {
        return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    }

    // Handlers the editor's scanner uses too.
    void SymbolProc();
    void CommentProc();

    // Patterns a token start may compare: a scanner that has longer ones
    // raises it.
    std::size_t lookAhead_ = 0;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0;
    uint8_t token_ = tkEnd;
    bool reserveWord_ = false;
    int tokenBracket_ = -1;

    // The state carried between rows.
    uint8_t rowAttribute_ = 0;
    uint8_t prevRowAttribute_ = 0;
    int bracketIndex_ = -1;
    int32_t elementByte_ = 0;
    std::size_t remain_ = 0;
    int32_t startByte_ = 0;
    uint8_t wrappedToken_ = 0;
    uint8_t prevToken_ = 0;
    std::string stateText_;

private:
    void LoadState(const TRowAttributeData& state);
    uint8_t Finish();
    bool BracketProc();
    void RegionProc();
    std::size_t FindMatch(std::size_t from, std::string_view s) const;

    void TabProc();
    void NumberProc();
    void IdentProc();
    void DbSymbolProc();
    void Lead82Proc();
    void Lead83Proc();
    void KanjiProc();
    void HalfKanaSymbolProc();
    void HalfKanaProc();
    void SingleQuoteProc();
    void DoubleQuoteProc();
    // A run of double-byte characters of one class, as a token of `kind`.
    template <class Pred>
    void DbRun(uint8_t kind, Pred pred);

    void NoContinuation() {}
    void ContinueInteger();
    void ContinueReal();
    void ContinueIdent();
    void ContinueReserve();
    void ContinueRegion();
    void ContinueDbDigits();
    void ContinueDbLatin();
    void ContinueHiragana();
    void ContinueKatakana();
    void ContinueKanji();
    void ContinueHalfKana();
    void ContinueSingleQuoted();
    void ContinueDoubleQuoted();

    const TFountain& fountain_;
    std::array<bool, 256> bracketStart_{};
    std::string joined_;  // a wrapped row and the row after it
};
