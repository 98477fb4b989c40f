#include "editor/core/TEditorParser.h"

#include <algorithm>

#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorFountain.h"

namespace {

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

constexpr std::string_view UrlPrefixes[] = {"http:", "https:", "ftp:", "www."};

}  // namespace

bool TEditorParser::IsMailChar(unsigned char c)
{
    switch (c) {
    case '!': case '$': case '%': case '&': case '*': case ',': case '-': case '.': case '/':
    case ';': case '=': case '?': case '@': case '^': case '_': case '~':
        return true;
    default:
        return IsIdentChar(c);
    }
}

bool TEditorParser::IsUrlChar(unsigned char c)
{
    switch (c) {
    case '#': case '%': case '&': case '+': case '-': case '.': case '/': case ':': case '=':
    case '?': case '_': case '~':
        return true;
    default:
        return IsIdentChar(c);
    }
}

TEditorParser::TEditorParser(const TFountain* fountain)
    : TFountainParser(fountain), editor_(dynamic_cast<const TEditorFountain*>(fountain))
{
    // The base scanner's strings are not this scanner's.
    MethodTable['\''] = &TEditorParser::SymbolProc;
    MethodTable['"'] = &TEditorParser::SymbolProc;
    classTable_ = MethodTable;

    WrappedTable[tkUrl] = static_cast<TTokenHandler>(&TEditorParser::ContinueUrl);
    WrappedTable[tkMail] = static_cast<TTokenHandler>(&TEditorParser::ContinueMail);
    WrappedTable[tkHex] = static_cast<TTokenHandler>(&TEditorParser::ContinueHex);
    WrappedTable[tkQuotation] = static_cast<TTokenHandler>(&TEditorParser::ContinueQuotation);
    WrappedTable[tkControlCode] = static_cast<TTokenHandler>(&TEditorParser::ContinueControlCode);
    WrappedTable[tkHexControlCode] = static_cast<TTokenHandler>(&TEditorParser::ContinueHexControlCode);

    if (!editor_)
        return;
    commenter_ = editor_->Commenter();
    hexPrefix_ = editor_->HexPrefix();
    controlCode_ = editor_->ControlCode();
    mail_ = editor_->Mail();
    url_ = editor_->Url();
    if (!editor_->Quotation().empty())
        quotation_ = static_cast<unsigned char>(editor_->Quotation()[0]);
    lookAhead_ = std::max({lookAhead_, commenter_.size() + 2, hexPrefix_.size() + 2});
    if (url_)
        for (std::string_view prefix : UrlPrefixes)
            lookAhead_ = std::max(lookAhead_, prefix.size() + 2);

    // Bytes that may start one of this scanner's own tokens go through
    // EditorProc; all others straight to their class.
    std::array<bool, 256> special{};
    for (int c = 0; c < 256; ++c)
        special[c] = mail_ && c != '@' && IsMailChar(static_cast<unsigned char>(c));
    if (url_)
        for (std::string_view prefix : UrlPrefixes)
            special[static_cast<unsigned char>(prefix[0])] = true;
    if (!commenter_.empty())
        special[static_cast<unsigned char>(commenter_[0])] = true;
    if (quotation_ >= 0)
        special[quotation_] = true;
    if (controlCode_)
        special['#'] = true;
    if (!hexPrefix_.empty()) {
        const auto c = static_cast<unsigned char>(hexPrefix_[0]);
        special[c] = true;
        special[FoldAscii(c)] = true;
        if (c >= 'a' && c <= 'z')
            special[c - 32] = true;
    }
    for (int c = 0; c < 256; ++c)
        if (special[c])
            MethodTable[c] = static_cast<TTokenHandler>(&TEditorParser::EditorProc);
}

bool TEditorParser::MayResumeAfter(unsigned char byte) const
{
    return !(mail_ && IsMailChar(byte)) && !(url_ && IsUrlChar(byte));
}

void TEditorParser::EditorProc()
{
    const unsigned char first = ByteAt(pos_);
    if (mail_ && first != '@' && IsMailChar(first) && MailProc())
        return;
    if (url_ && UrlProc())
        return;
    if (MatchAt(pos_, commenter_))
        return CommentProc();
    // Only a character of one byte opens a string.
    if (quotation_ == first && CharLength(text_, pos_) == 1)
        return QuotationProc();
    if (controlCode_ && first == '#' && ControlCodeProc())
        return;
    if (!hexPrefix_.empty() && HexProc())
        return;
    (this->*classTable_[first])();
}

// A run of mail characters that holds an "@" and, after it, a ".".
bool TEditorParser::MailProc()
{
    bool at = false;
    bool dotAfterAt = false;
    std::size_t p = pos_;
    for (; p < Size() && IsMailChar(ByteAt(p)); ++p) {
        if (ByteAt(p) == '@')
            at = true;
        else if (ByteAt(p) == '.' && at)
            dotAfterAt = true;
    }
    if (!dotAfterAt)
        return false;
    pos_ = p;
    token_ = tkMail;
    return true;
}

bool TEditorParser::UrlProc()
{
    for (std::string_view prefix : UrlPrefixes) {
        if (MatchAt(pos_, prefix)) {
            pos_ = SkipBytes(pos_ + prefix.size(), IsUrlChar);
            token_ = tkUrl;
            return true;
        }
    }
    return false;
}

void TEditorParser::QuotationProc()
{
    pos_ = QuotedEnd(pos_ + 1, static_cast<unsigned char>(quotation_));
    token_ = tkQuotation;
}

bool TEditorParser::ControlCodeProc()
{
    const std::size_t p = pos_ + 1;
    if (p + 1 < Size() && ByteAt(p) == '$' && IsHexDigit(ByteAt(p + 1))) {
        pos_ = SkipBytes(p + 1, IsHexDigit);
        token_ = tkHexControlCode;
        return true;
    }
    if (p < Size() && IsDigit(ByteAt(p))) {
        pos_ = SkipBytes(p, IsDigit);
        token_ = tkControlCode;
        return true;
    }
    return false;
}

// The prefix is compared with ASCII letters folded.
bool TEditorParser::HexProc()
{
    const std::size_t n = hexPrefix_.size();
    if (Size() - pos_ <= n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (FoldAscii(ByteAt(pos_ + i)) != FoldAscii(static_cast<unsigned char>(hexPrefix_[i])))
            return false;
    if (!MatchAt(pos_, text_.substr(pos_, n)) || !IsHexDigit(ByteAt(pos_ + n)))
        return false;
    pos_ = SkipBytes(pos_ + n, IsHexDigit);
    token_ = tkHex;
    return true;
}

void TEditorParser::ContinueUrl() { ByteRun(tkUrl, IsUrlChar); }

void TEditorParser::ContinueMail() { ByteRun(tkMail, IsMailChar); }

void TEditorParser::ContinueHex() { ByteRun(tkHex, IsHexDigit); }

void TEditorParser::ContinueQuotation()
{
    if (quotation_ < 0)
        return;
    pos_ = QuotedEnd(pos_, static_cast<unsigned char>(quotation_));
    token_ = tkQuotation;
}

void TEditorParser::ContinueControlCode() { ByteRun(tkControlCode, IsDigit); }

void TEditorParser::ContinueHexControlCode() { ByteRun(tkHexControlCode, IsHexDigit); }

const TFountainColor* TEditorParser::TokenToFountainColor() const
{
    if (!editor_)
        return TFountainParser::TokenToFountainColor();
    const TEditorColors& colors = editor_->Colors();
    switch (token_) {
    case tkEnd:
        return nullptr;
    case tkBracket:
        return TFountainParser::TokenToFountainColor();
    case tkComment:
        return &colors.Comment;
    default:
        break;
    }
    if (reserveWord_ || token_ == tkReserve)
        return &colors.Reserve;
    switch (token_) {
    case tkSymbol:
        return &colors.Symbol;
    case tkInteger:
    case tkReal:
    case tkHex:
        return &colors.Int;
    case tkIdentifier:
        return &colors.Ank;
    case tkDbSymbol:
    case tkDbDigits:
    case tkDbLatin:
    case tkHiragana:
    case tkKatakana:
    case tkKanji:
    case tkHalfKanaSymbol:
    case tkHalfKana:
        return &colors.DBCS;
    case tkUrl:
        return &colors.Url;
    case tkMail:
        return &colors.Mail;
    case tkQuotation:
    case tkControlCode:
    case tkHexControlCode:
        return &colors.Str;
    default:  // TAB and the base scanner's strings
        return nullptr;
    }
}
