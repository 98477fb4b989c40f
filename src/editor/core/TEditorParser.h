#pragma once
#include <array>
#include <string>

#include "editor/core/TFountainParser.h"

class TEditorFountain;

// The editor's scanner. Before the class of the first byte decides, a new
// token is tried, in this order, as: a bracket pair's left bracket, a mail
// address, a URL, the commenter, a string in the quotation character, a
// control code and a number after the hex prefix, each only where the
// scheme switches it on. '...' and "..." strings of the base scanner are
// never started here. Given a scheme that is not a TEditorFountain, it
// scans with all of these off.
class TEditorParser : public TFountainParser {
public:
    explicit TEditorParser(const TFountain* fountain);

    // The colour of the token's class in the scheme's Colors; a reserved
    // word in Reserve whatever its kind (except regions and comments).
    const TFountainColor* TokenToFountainColor() const override;
    // A mail address or a URL runs over its characters, however far: a
    // place after one of them may be inside such a run.
    bool MayResumeAfter(unsigned char byte) const override;

    // ! $ % & * , - . / 0-9 ; = ? @ A-Z ^ _ a-z ~
    static bool IsMailChar(unsigned char c);
    // # % & + - . / 0-9 : = ? A-Z _ a-z ~
    static bool IsUrlChar(unsigned char c);

private:
    void EditorProc();
    bool MailProc();
    bool UrlProc();
    bool ControlCodeProc();
    bool HexProc();
    void QuotationProc();

    void ContinueUrl();
    void ContinueMail();
    void ContinueHex();
    void ContinueQuotation();
    void ContinueControlCode();
    void ContinueHexControlCode();

    // The handlers by first byte that apply when no test of EditorProc matches.
    std::array<TTokenHandler, 256> classTable_;
    const TEditorFountain* editor_;
    std::string commenter_;
    std::string hexPrefix_;
    int quotation_ = -1;  // the quotation byte, or -1
    bool controlCode_ = false;
    bool mail_ = false;
    bool url_ = false;
};
