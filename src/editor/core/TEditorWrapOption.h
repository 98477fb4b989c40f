#pragma once
#include "editor/core/TChangeNotifier.h"
#include <functional>
#include <string>

// How long lines are broken into screen rows. Every change of a property
// notifies the owner (the row store), which re-wraps when wrap is on.
// Strings hold Shift-JIS bytes.
class TEditorWrapOption : public TChangeNotifier {
public:
    TEditorWrapOption();

    int WrapByte() const { return wrapByte_; }
    bool WordBreak() const { return wordBreak_; }
    bool FollowPunctuation() const { return followPunctuation_; }
    const std::string& PunctuationStr() const { return punctuationStr_; }
    bool Leading() const { return leading_; }
    const std::string& LeadStr() const { return leadStr_; }
    const std::string& FollowStr() const { return followStr_; }
    bool FollowRetMark() const { return followRetMark_; }

    void SetWrapByte(int v);
    void SetWordBreak(bool v) { Set(wordBreak_, v); }
    void SetFollowPunctuation(bool v) { Set(followPunctuation_, v); }
    void SetPunctuationStr(const std::string& v) { Set(punctuationStr_, v); }
    void SetLeading(bool v) { Set(leading_, v); }
    void SetLeadStr(const std::string& v) { Set(leadStr_, v); }
    void SetFollowStr(const std::string& v) { Set(followStr_, v); }
    void SetFollowRetMark(bool v) { Set(followRetMark_, v); }

    // Copies every property, notifying once when anything changed.
    void Assign(const TEditorWrapOption& source);


    static const std::string DefaultPunctuationStr;
    static const std::string DefaultLeadStr;
    static const std::string DefaultFollowStr;

private:
    int wrapByte_ = 80;
    bool wordBreak_ = false;
    bool followPunctuation_ = false;
    std::string punctuationStr_;
    bool leading_ = false;
    std::string leadStr_;
    std::string followStr_;
    bool followRetMark_ = false;
};
