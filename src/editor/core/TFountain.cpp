#include "editor/core/TFountain.h"

#include "editor/core/TFountainParser.h"

TFountain::TFountain() : TFountain(std::make_unique<TFountainBracketCollection>()) {}

TFountain::TFountain(std::unique_ptr<TFountainBracketCollection> brackets) : brackets_(std::move(brackets))
{
    Connect();
}

TFountain::~TFountain()
{
    brackets_->OnChange = nullptr;
    reserve_.OnChange = nullptr;
    reserveWordList_.OnChange = nullptr;
}

void TFountain::Connect()
{
    brackets_->OnChange = [this] { Changed(); };
    reserve_.OnChange = [this] { Changed(); };
    reserveWordList_.OnChange = [this] { Changed(); };
}

void TFountain::Assign(const TFountain& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    brackets_->Assign(source.Brackets());
    Reserve().Assign(source.Reserve());
    reserveWordList_.Assign(source.ReserveWordList());
    SetFileExtList(source.FileExtList());
    EndUpdate();
}

std::unique_ptr<TFountainParser> TFountain::CreateParser() const
{
    return std::make_unique<TFountainParser>(this);
}

bool TFountain::HasItalicStyle() const
{
    if (HasStyle(Reserve().Style(), fsItalic))
        return true;
    for (int i = 0; i < brackets_->Count(); ++i)
        if (HasStyle(brackets_->Items(i).ItemColor.Style(), fsItalic))
            return true;
    return false;
}
