#pragma once
#include <functional>
#include <string>

#include "editor/core/TEditorFountain.h"

// The editor's View: its built-in colouring scheme, whose brackets, colours
// and scanner switches it shows as its own. Any change calls OnChange once;
// the editor answers by re-parsing the whole document and repainting.
class TEditorViewInfo {
public:
    TEditorViewInfo();
    ~TEditorViewInfo();
    TEditorViewInfo(const TEditorViewInfo&) = delete;
    TEditorViewInfo& operator=(const TEditorViewInfo&) = delete;

    std::function<void()> OnChange;

    TEditorFountain& Fountain() { return fountain_; }
    const TEditorFountain& Fountain() const { return fountain_; }

    TEditorBracketCollection& Brackets() { return fountain_.Brackets(); }
    const TEditorBracketCollection& Brackets() const { return fountain_.Brackets(); }
    TEditorColors& Colors() { return fountain_.Colors(); }
    const TEditorColors& Colors() const { return fountain_.Colors(); }
    TReserveWordList& ReserveWordList() { return fountain_.ReserveWordList(); }
    const TReserveWordList& ReserveWordList() const { return fountain_.ReserveWordList(); }

    const std::string& Commenter() const { return fountain_.Commenter(); }
    void SetCommenter(const std::string& value) { fountain_.SetCommenter(value); }
    bool ControlCode() const { return fountain_.ControlCode(); }
    void SetControlCode(bool value) { fountain_.SetControlCode(value); }
    const std::string& HexPrefix() const { return fountain_.HexPrefix(); }
    void SetHexPrefix(const std::string& value) { fountain_.SetHexPrefix(value); }
    bool Mail() const { return fountain_.Mail(); }
    void SetMail(bool value) { fountain_.SetMail(value); }
    const std::string& Quotation() const { return fountain_.Quotation(); }
    void SetQuotation(const std::string& value) { fountain_.SetQuotation(value); }
    bool Url() const { return fountain_.Url(); }
    void SetUrl(bool value) { fountain_.SetUrl(value); }

    // Copies everything, the reserved words included; one notification.
    void Assign(const TEditorViewInfo& source) { fountain_.Assign(source.fountain_); }

private:
    TEditorFountain fountain_;
};
