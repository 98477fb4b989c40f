#include "editor/core/TFountainParser.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "editor/core/CharacterClasses.h"
#include "editor/core/ShiftJis.h"
#include "editor/core/TFountain.h"
#include "editor/core/TRowAttributeStringList.h"

using namespace CharacterClasses;

namespace {

// Bytes skipped between tokens: blanks and control characters other than TAB.
bool IsSkipped(unsigned char c) { return (c >= 1 && c <= 8) || (c >= 10 && c <= 32); }

bool IsBlankRow(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return IsSkipped(static_cast<unsigned char>(c)); });
}

}  // namespace

TFountainParser::TFountainParser(const TFountain* fountain)
    : fountain_(fountain ? *fountain : throw std::invalid_argument("TFountainParser.Create need instance of TFountain"))
{
    MethodTable.fill(&TFountainParser::SymbolProc);
    MethodTable['\t'] = &TFountainParser::TabProc;
    for (int c = '0'; c <= '9'; ++c)
        MethodTable[c] = &TFountainParser::NumberProc;
    for (int c = 'A'; c <= 'Z'; ++c)
        MethodTable[c] = &TFountainParser::IdentProc;
    for (int c = 'a'; c <= 'z'; ++c)
        MethodTable[c] = &TFountainParser::IdentProc;
    MethodTable['_'] = &TFountainParser::IdentProc;
    MethodTable['\''] = &TFountainParser::SingleQuoteProc;
    MethodTable['"'] = &TFountainParser::DoubleQuoteProc;
    MethodTable[0x81] = &TFountainParser::DbSymbolProc;
    MethodTable[0x82] = &TFountainParser::Lead82Proc;
    MethodTable[0x83] = &TFountainParser::Lead83Proc;
    for (int c = 0x84; c <= 0x87; ++c)
        MethodTable[c] = &TFountainParser::DbSymbolProc;
    for (int c = 0x88; c <= 0x9F; ++c)
        MethodTable[c] = &TFountainParser::KanjiProc;
    for (int c = 0xE0; c <= 0xFC; ++c)
        MethodTable[c] = &TFountainParser::KanjiProc;
    for (int c = 0xA1; c <= 0xA5; ++c)
        MethodTable[c] = &TFountainParser::HalfKanaSymbolProc;
    for (int c = 0xA6; c <= 0xDF; ++c)
        MethodTable[c] = &TFountainParser::HalfKanaProc;

    WrappedTable.fill(&TFountainParser::NoContinuation);
    WrappedTable[tkInteger] = &TFountainParser::ContinueInteger;
    WrappedTable[tkReal] = &TFountainParser::ContinueReal;
    WrappedTable[tkBracket] = &TFountainParser::ContinueRegion;
    WrappedTable[tkComment] = &TFountainParser::CommentProc;
    WrappedTable[tkReserve] = &TFountainParser::ContinueReserve;
    WrappedTable[tkIdentifier] = &TFountainParser::ContinueIdent;
    WrappedTable[tkDbDigits] = &TFountainParser::ContinueDbDigits;
    WrappedTable[tkDbLatin] = &TFountainParser::ContinueDbLatin;
    WrappedTable[tkHiragana] = &TFountainParser::ContinueHiragana;
    WrappedTable[tkKatakana] = &TFountainParser::ContinueKatakana;
    WrappedTable[tkKanji] = &TFountainParser::ContinueKanji;
    WrappedTable[tkHalfKana] = &TFountainParser::ContinueHalfKana;
    WrappedTable[tkSingleQuoted] = &TFountainParser::ContinueSingleQuoted;
    WrappedTable[tkDoubleQuoted] = &TFountainParser::ContinueDoubleQuoted;

    // A number looks two bytes past its end ("1." before a digit), a control
    // code or a doubled quote as far; a bracket is compared whole.
    lookAhead_ = 4;
    const TFountainBracketCollection& brackets = Brackets();
    for (int i = 0; i < brackets.Count(); ++i) {
        if (!brackets[i].Active())
            continue;
        bracketStart_[static_cast<unsigned char>(brackets[i].LeftBracket()[0])] = true;
        const std::size_t longer = std::max(brackets[i].LeftBracket().size(), brackets[i].RightBracket().size());
        lookAhead_ = std::max(lookAhead_, longer + 2);
    }
}

bool TFountainParser::MayResumeAfter(unsigned char) const { return true; }

TFountainParser::~TFountainParser() = default;

const TFountainBracketCollection& TFountainParser::Brackets() const { return fountain_.Brackets(); }

void TFountainParser::SetText(std::string_view text, const TRowAttributeData& state)
{
    // Rows hold no line break, so this is mostly a search that finds
    // nothing: memchr for each byte is faster than one loop over both.
    std::size_t lineEnd = text.size();
    if (!text.empty()) {
        if (const void* cr = std::memchr(text.data(), '\r', text.size()))
            lineEnd = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
        if (const void* lf = std::memchr(text.data(), '\n', lineEnd))
            lineEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - text.data());
    }
    text_ = text.substr(0, lineEnd);
    LoadState(state);
}

void TFountainParser::SetRowText(std::string_view text, const TRowAttributeData& state)
{
    text_ = text;
    LoadState(state);
}

void TFountainParser::ResumeAt(std::size_t pos)
{
    pos_ = tokenStart_ = std::min(pos, text_.size());
    token_ = tkEnd;
    reserveWord_ = false;
    tokenBracket_ = -1;
    bracketIndex_ = -1;
    wrappedToken_ = 0;
    remain_ = 0;
}

void TFountainParser::LoadState(const TRowAttributeData& state)
{
    pos_ = 0;
    tokenStart_ = 0;
    token_ = tkEnd;
    reserveWord_ = false;
    tokenBracket_ = -1;
    rowAttribute_ = state.RowAttribute;
    prevRowAttribute_ = state.PrevRowAttribute;
    // A region of a pair that is gone (a stale state) is not open.
    const int index = state.BracketIndex;
    bracketIndex_ = index >= 0 && index < Brackets().Count() && Brackets()[index].Active() ? index : -1;
    elementByte_ = state.ElementByte;
    remain_ = state.RemainByte > 0 ? static_cast<std::size_t>(state.RemainByte) : 0;
    startByte_ = state.StartByte;
    wrappedToken_ = state.WrappedToken;
    prevToken_ = state.PrevToken;
    stateText_ = state.StateText;
}

TRowAttributeData TFountainParser::State() const
{
    TRowAttributeData d;
    d.RowAttribute = rowAttribute_;
    d.PrevRowAttribute = prevRowAttribute_;
    d.BracketIndex = bracketIndex_;
    d.ElementByte = elementByte_;
    d.RemainByte = static_cast<int32_t>(remain_);
    d.StartByte = startByte_;
    d.WrappedToken = wrappedToken_;
    d.PrevToken = prevToken_;
    d.StateText = stateText_;
    return d;
}

// --- one token ---------------------------------------------------------------

uint8_t TFountainParser::NextToken()
{
    reserveWord_ = false;
    tokenBracket_ = -1;
    const std::size_t size = text_.size();
    if (pos_ >= size) {
        tokenStart_ = pos_ = size;
        token_ = tkEnd;
        return tkEnd;
    }

    // A token cut by the wrap, or an open region, continues from the very
    // start of the row: leading blanks belong to it.
    if (wrappedToken_ != 0) {
        const uint8_t kind = wrappedToken_;
        const std::size_t remain = remain_;
        wrappedToken_ = 0;
        remain_ = 0;
        tokenStart_ = pos_;
        if (remain > 0) {
            const std::size_t end = std::min(size, pos_ + remain);
            while (pos_ < end)
                pos_ = NextCharStart(text_, pos_);
            token_ = kind;
            if (kind == tkBracket) {
                tokenBracket_ = bracketIndex_;
                bracketIndex_ = -1;
            }
            return Finish();
        }
        (this->*WrappedTable[kind])();
        if (pos_ > tokenStart_)
            return Finish();
    }
    if (bracketIndex_ >= 0) {
        tokenStart_ = pos_;
        RegionProc();
        return Finish();
    }

    while (pos_ < size && IsSkipped(ByteAt(pos_)))
        ++pos_;
    tokenStart_ = pos_;
    if (pos_ >= size) {
        token_ = tkEnd;
        return tkEnd;
    }
    const unsigned char first = ByteAt(pos_);
    if (!(bracketStart_[first] && BracketProc()))
        (this->*MethodTable[first])();
    if (pos_ <= tokenStart_) {  // a handler must consume something
        pos_ = NextCharStart(text_, tokenStart_);
        token_ = tkSymbol;
    }
    return Finish();
}

uint8_t TFountainParser::Finish()
{
    if (token_ != tkEnd && token_ != tkBracket && token_ != tkComment)
        reserveWord_ = fountain_.ReserveWordList().Contains(TokenText());
    prevToken_ = token_;
    return token_;
}

const TFountainColor* TFountainParser::TokenToFountainColor() const
{
    switch (token_) {
    case tkEnd:
    case tkComment:
        return nullptr;
    case tkBracket:
        return tokenBracket_ >= 0 && tokenBracket_ < Brackets().Count() ? &Brackets()[tokenBracket_].ItemColor
                                                                        : nullptr;
    default:
        return reserveWord_ || token_ == tkReserve ? &fountain_.Reserve() : nullptr;
    }
}

// --- matching ----------------------------------------------------------------

bool TFountainParser::MatchAt(std::size_t p, std::string_view s) const
{
    if (s.empty() || s.size() > text_.size() - std::min(p, text_.size()) || text_.compare(p, s.size(), s) != 0)
        return false;
    // The match must not end inside a double-byte character.
    const std::size_t end = p + s.size();
    while (p < end)
        p += CharLength(text_, p);
    return p == end;
}

std::size_t TFountainParser::FindMatch(std::size_t from, std::string_view s) const
{
    if (!IsTrailByte(static_cast<unsigned char>(s[0]))) {
        // Such a byte is never the second byte of a character, so a plain
        // search finds only character starts.
        for (std::size_t p = text_.find(s, from); p != std::string_view::npos; p = text_.find(s, p + 1))
            if (MatchAt(p, s))
                return p;
        return std::string_view::npos;
    }
    for (std::size_t p = from; p < text_.size(); p = NextCharStart(text_, p))
        if (MatchAt(p, s))
            return p;
    return std::string_view::npos;
}

std::size_t TFountainParser::QuotedEnd(std::size_t p, unsigned char quote) const
{
    const std::size_t size = text_.size();
    while (p < size) {
        if (CharLength(text_, p) == 2) {
            p += 2;
        } else if (ByteAt(p) == quote) {
            if (p + 1 < size && ByteAt(p + 1) == quote)
                p += 2;
            else
                return p + 1;
        } else {
            ++p;
        }
    }
    return size;
}

// --- bracket regions -----------------------------------------------------------

bool TFountainParser::BracketProc()
{
    const TFountainBracketCollection& brackets = Brackets();
    for (int i = 0; i < brackets.Count(); ++i) {
        const TFountainBracketItem& item = brackets[i];
        if (item.Active() && MatchAt(pos_, item.LeftBracket())) {
            bracketIndex_ = i;
            pos_ += item.LeftBracket().size();
            RegionProc();
            return true;
        }
    }
    return false;
}

void TFountainParser::RegionProc()
{
    const std::string& right = Brackets()[bracketIndex_].RightBracket();
    token_ = tkBracket;
    tokenBracket_ = bracketIndex_;
    const std::size_t found = FindMatch(pos_, right);
    if (found == std::string_view::npos) {
        pos_ = text_.size();  // open into the next row
        return;
    }
    pos_ = found + right.size();
    bracketIndex_ = -1;
}

void TFountainParser::ContinueRegion()
{
    if (bracketIndex_ >= 0)
        RegionProc();
}

// --- tokens by first byte -------------------------------------------------------

void TFountainParser::SymbolProc()
{
    pos_ = NextCharStart(text_, pos_);
    token_ = tkSymbol;
}

void TFountainParser::CommentProc()
{
    pos_ = text_.size();
    token_ = tkComment;
}

void TFountainParser::TabProc()
{
    ++pos_;
    token_ = tkTab;
}

void TFountainParser::NumberProc()
{
    std::size_t p = SkipBytes(pos_, IsDigit);
    const std::size_t size = text_.size();
    token_ = tkInteger;
    if (p + 1 < size && ByteAt(p) == '.' && IsDigit(ByteAt(p + 1))) {
        token_ = tkReal;
        p = SkipBytes(p + 1, IsDigit);
    }
    if (p < size && (ByteAt(p) == 'e' || ByteAt(p) == 'E')) {
        token_ = tkReal;
        ++p;
        if (p < size && (ByteAt(p) == '+' || ByteAt(p) == '-'))
            ++p;
        p = SkipBytes(p, IsDigit);
    }
    pos_ = p;
}

void TFountainParser::IdentProc() { ByteRun(tkIdentifier, IsIdentChar); }

template <class Pred>
void TFountainParser::DbRun(uint8_t kind, Pred pred)
{
    std::size_t p = pos_;
    unsigned c;
    while ((c = DbChar(text_, p)) != 0 && pred(c))
        p += 2;
    pos_ = p;
    token_ = kind;
}

void TFountainParser::DbSymbolProc()
{
    if (CharLength(text_, pos_) != 2)
        return SymbolProc();  // a lone lead byte
    pos_ += 2;
    token_ = tkDbSymbol;
}

// Lead byte 0x82: digits, Latin letters and hiragana. Its other characters
// (codes outside those blocks, e.g. 0x82 0x5C) are taken whole as one
// double-byte symbol, so their second byte is never read as a token of its own.
void TFountainParser::Lead82Proc()
{
    const unsigned c = DbChar(text_, pos_);
    if (IsDbDigit(c))
        DbRun(tkDbDigits, IsDbDigit);
    else if (IsDbLatin(c))
        DbRun(tkDbLatin, IsDbLatin);
    else if (IsHiragana(c))
        DbRun(tkHiragana, IsHiragana);
    else
        DbSymbolProc();
}

// Lead byte 0x83: katakana, then Greek and Cyrillic (one symbol each). The
// codes after those blocks are single double-byte symbols as well.
void TFountainParser::Lead83Proc()
{
    const unsigned c = DbChar(text_, pos_);
    if (IsKatakana(c))
        DbRun(tkKatakana, IsKatakana);
    else
        DbSymbolProc();
}

void TFountainParser::KanjiProc()
{
    if (CharLength(text_, pos_) != 2)
        return SymbolProc();
    DbRun(tkKanji, IsKanji);
}

void TFountainParser::HalfKanaSymbolProc()
{
    ++pos_;
    token_ = tkHalfKanaSymbol;
}

void TFountainParser::HalfKanaProc() { ByteRun(tkHalfKana, IsHalfKana); }

void TFountainParser::SingleQuoteProc()
{
    pos_ = QuotedEnd(pos_ + 1, '\'');
    token_ = tkSingleQuoted;
}

void TFountainParser::DoubleQuoteProc()
{
    pos_ = QuotedEnd(pos_ + 1, '"');
    token_ = tkDoubleQuoted;
}

// --- continuations of tokens cut by the wrap ---------------------------------------
//
// Used when a row's state says a token goes on without saying for how many
// bytes (it crossed more than one row, or its rest was too long to store).

void TFountainParser::ContinueInteger() { ByteRun(tkInteger, IsDigit); }

void TFountainParser::ContinueReal()
{
    std::size_t p = pos_;
    const std::size_t size = text_.size();
    while (p < size) {
        const unsigned char c = ByteAt(p);
        if (IsDigit(c) || c == '.')
            ++p;
        else if (c == 'e' || c == 'E')
            p += (p + 1 < size && (ByteAt(p + 1) == '+' || ByteAt(p + 1) == '-')) ? 2 : 1;
        else
            break;
    }
    pos_ = p;
    token_ = tkReal;
}

void TFountainParser::ContinueIdent() { ByteRun(tkIdentifier, IsIdentChar); }

void TFountainParser::ContinueReserve() { ByteRun(tkReserve, IsIdentChar); }

void TFountainParser::ContinueDbDigits() { DbRun(tkDbDigits, IsDbDigit); }
void TFountainParser::ContinueDbLatin() { DbRun(tkDbLatin, IsDbLatin); }
void TFountainParser::ContinueHiragana() { DbRun(tkHiragana, IsHiragana); }
void TFountainParser::ContinueKatakana() { DbRun(tkKatakana, IsKatakana); }
void TFountainParser::ContinueKanji() { DbRun(tkKanji, IsKanji); }

void TFountainParser::ContinueHalfKana() { ByteRun(tkHalfKana, IsHalfKana); }

void TFountainParser::ContinueSingleQuoted()
{
    pos_ = QuotedEnd(pos_, '\'');
    token_ = tkSingleQuoted;
}

void TFountainParser::ContinueDoubleQuoted()
{
    pos_ = QuotedEnd(pos_, '"');
    token_ = tkDoubleQuoted;
}

// --- one row ---------------------------------------------------------------------

void TFountainParser::ParseRow(int row, const TRowAttributeStringList& rows, TRowAttributeData& state)
{
    const std::string_view own = rows.RowView(row);
    const bool wrapped = rows.GetRowAttribute(row) == raWrapped;
    const bool hasNext = row + 1 < rows.GetCount();

    if (state.WrappedToken == tkComment) {
        // Inside a comment that began on an earlier row of this logical line:
        // the whole row is comment.
        if (!wrapped)
            state.WrappedToken = 0;
        state.RemainByte = 0;
        return;
    }
    if (IsBlankRow(own)) {
        // Nothing starts here. A cut token that owes bytes spends them on
        // this row, and none goes on past the end of its logical line.
        if (state.RemainByte > 0) {
            const auto length = static_cast<int32_t>(own.size());
            state.RemainByte = state.RemainByte > length ? state.RemainByte - length : 0;
            if (state.RemainByte == 0)
                state.WrappedToken = 0;
        }
        if (!wrapped) {
            state.WrappedToken = 0;
            state.RemainByte = 0;
        }
        return;
    }

    std::string_view text = own;
    if (wrapped && hasNext) {
        joined_.assign(own);
        joined_.append(rows.RowView(row + 1));
        text = joined_;
    }
    SetText(text, state);
    const std::size_t rowEnd = own.size();
    state.WrappedToken = 0;
    state.RemainByte = 0;

    for (;;) {
        const uint8_t kind = NextToken();
        if (kind == tkEnd)
            break;
        if (tokenStart_ >= rowEnd) {
            // The next row's own token: the next row starts afresh.
            state.BracketIndex = -1;
            break;
        }
        state.BracketIndex = bracketIndex_;
        state.PrevToken = kind;
        if (pos_ <= rowEnd)
            continue;

        // The token started here and ends on the next row.
        const std::size_t beyond = pos_ - rowEnd;
        if (kind == tkBracket) {
            // The region is open at the start of the next row, whether or not
            // the next row's bytes close it. When the right bracket itself is
            // cut, the next row owes the rest of it.
            state.BracketIndex = tokenBracket_;
            if (tokenBracket_ >= 0 && bracketIndex_ < 0
                && beyond < Brackets()[tokenBracket_].RightBracket().size()) {
                state.WrappedToken = tkBracket;
                state.RemainByte = static_cast<int32_t>(beyond);
            }
        } else {
            state.WrappedToken = reserveWord_ ? static_cast<uint8_t>(tkReserve) : kind;
            // A comment takes whole rows. Any other token owes its exact rest,
            // strings included (so that a doubled quote cut by the wrap is
            // still read as one); a token that may run on through the row
            // after the next, or whose rest is too long to store, continues
            // by the rule of its kind.
            const bool mayRunOn =
                pos_ == text.size() && row + 2 < rows.GetCount() && rows.GetRowAttribute(row + 1) == raWrapped;
            if (kind != tkComment && !mayRunOn && beyond <= MaxRemain)
                state.RemainByte = static_cast<int32_t>(beyond);
        }
        break;
    }
}
