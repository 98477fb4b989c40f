#pragma once
#include <string>

#include "editor/core/TEditorBracketCollection.h"
#include "editor/core/TEditorColors.h"
#include "editor/core/TFountain.h"

// The editor's colouring scheme: a colour per token class, and the switches
// of its scanner (TEditorParser). Everything starts off: no commenter, no
// quotation character, no hex prefix, and no control codes, mail addresses
// or URLs.
class TEditorFountain : public TFountain {
public:
    TEditorFountain();
    ~TEditorFountain() override;

    TEditorBracketCollection& Brackets() { return static_cast<TEditorBracketCollection&>(TFountain::Brackets()); }
    const TEditorBracketCollection& Brackets() const
    {
        return static_cast<const TEditorBracketCollection&>(TFountain::Brackets());
    }
    TEditorColors& Colors() { return colors_; }
    const TEditorColors& Colors() const { return colors_; }
    // The reserved-word colour is Colors().Reserve.
    TFountainColor& Reserve() override { return colors_.Reserve; }
    const TFountainColor& Reserve() const override { return colors_.Reserve; }

    // Starts a comment that runs to the end of the logical line.
    const std::string& Commenter() const { return commenter_; }
    void SetCommenter(const std::string& value) { Set(commenter_, value); }
    // "#" + decimal digits and "#$" + hexadecimal digits.
    bool ControlCode() const { return controlCode_; }
    void SetControlCode(bool value) { Set(controlCode_, value); }
    // Starts a hexadecimal number; compared without regard to case.
    const std::string& HexPrefix() const { return hexPrefix_; }
    void SetHexPrefix(const std::string& value) { Set(hexPrefix_, value); }
    bool Mail() const { return mail_; }
    void SetMail(bool value) { Set(mail_, value); }
    // Its first byte opens and closes a string.
    const std::string& Quotation() const { return quotation_; }
    void SetQuotation(const std::string& value) { Set(quotation_, value); }
    bool Url() const { return url_; }
    void SetUrl(bool value) { Set(url_, value); }

    // Set one value on every colour of Colors except Select and Hit.
    void SetAllBkColor(TColor value);
    void SetAllColor(TColor value);
    void SetAllStyle(TFontStyles value);

    void Assign(const TFountain& source) override;
    std::unique_ptr<TFountainParser> CreateParser() const override;
    bool HasItalicStyle() const override;

private:
    template <class T>
    void Set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    template <class F>
    void ForEachPlainColor(F f);

    TEditorColors colors_;
    std::string commenter_;
    bool controlCode_ = false;
    std::string hexPrefix_;
    bool mail_ = false;
    std::string quotation_;
    bool url_ = false;
};
