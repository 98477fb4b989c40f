#pragma once
#include <memory>

#include "editor/core/TFileExtComponent.h"
#include "editor/core/TFountainBracketCollection.h"
#include "editor/core/TFountainColor.h"
#include "editor/core/TNotifyEventList.h"
#include "editor/core/TReserveWordList.h"

class TFountainParser;

// A colouring scheme: the bracket pairs, the reserved words and their
// colour, and the scanner class that reads text with them. Every change of
// a colour, of the brackets or of the word list is reported to the
// listeners of NotifyEventList (once per update block). FileExtList names
// the files the scheme is meant for; it is not a change of the scheme.
class TFountain : public TFileExtComponent {
public:
    TFountain();
    virtual ~TFountain();
    TFountain(const TFountain&) = delete;
    TFountain& operator=(const TFountain&) = delete;

    TFountainBracketCollection& Brackets() { return *brackets_; }
    const TFountainBracketCollection& Brackets() const { return *brackets_; }
    virtual TFountainColor& Reserve() { return reserve_; }
    virtual const TFountainColor& Reserve() const { return reserve_; }
    TReserveWordList& ReserveWordList() { return reserveWordList_; }
    const TReserveWordList& ReserveWordList() const { return reserveWordList_; }
    TNotifyEventList& NotifyEventList() { return notifyEventList_; }

    void BeginUpdate() { notifyEventList_.BeginUpdate(); }
    void EndUpdate() { notifyEventList_.EndUpdate(); }

    virtual void Assign(const TFountain& source);

    // A scanner of this scheme's class, reading with this scheme; it must not
    // outlive the scheme.
    virtual std::unique_ptr<TFountainParser> CreateParser() const;

    // Whether any colour of the scheme is drawn in italics.
    virtual bool HasItalicStyle() const;

protected:
    explicit TFountain(std::unique_ptr<TFountainBracketCollection> brackets);
    void Changed() { notifyEventList_.ChangedProc(*this); }

private:
    void Connect();

    std::unique_ptr<TFountainBracketCollection> brackets_;
    TFountainColor reserve_;
    TReserveWordList reserveWordList_;
    TNotifyEventList notifyEventList_;
};
