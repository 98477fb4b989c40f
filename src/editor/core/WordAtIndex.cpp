#include "editor/core/WordAtIndex.h"

#include "editor/core/CharacterClasses.h"
#include "editor/core/ShiftJis.h"

using namespace CharacterClasses;

namespace {

enum class WordClass { None, Backslash, Latin, HalfKana, DbDigit, DbLatin, Kanji, Hiragana, Katakana };

WordClass ClassAt(std::string_view s, std::size_t p)
{
    if (const unsigned c = DbChar(s, p)) {
        if (IsDbDigit(c))
            return WordClass::DbDigit;
        if (IsDbLatin(c))
            return WordClass::DbLatin;
        if (IsHiragana(c))
            return WordClass::Hiragana;
        if (IsKatakana(c))
            return WordClass::Katakana;
        if (IsKanji(c))
            return WordClass::Kanji;
        return WordClass::None;
    }
    const unsigned char b = static_cast<unsigned char>(s[p]);
    if (b == '\\')
        return WordClass::Backslash;
    if (IsIdentChar(b))
        return WordClass::Latin;
    if (IsHalfKana(b))
        return WordClass::HalfKana;
    return WordClass::None;
}

// Whether the character at p goes on a run of `kind`; the kana marks go on
// runs of either kana.
bool Continues(WordClass kind, std::string_view s, std::size_t p)
{
    if (kind == WordClass::Hiragana)
        return IsHiragana(DbChar(s, p));
    if (kind == WordClass::Katakana)
        return IsKatakana(DbChar(s, p));
    return ClassAt(s, p) == kind;
}

bool IsLetter(unsigned char b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); }

}  // namespace

std::optional<WordRange> WordAtIndex(std::string_view row, std::size_t index)
{
    if (index >= row.size())
        return std::nullopt;
    // Runs of one class, walked from the row's start; a backslash followed
    // by letters is a command and takes them into its run.
    std::size_t p = 0;
    while (p < row.size()) {
        const WordClass kind = ClassAt(row, p);
        std::size_t end = NextCharStart(row, p);
        if (kind == WordClass::Backslash) {
            while (end < row.size() && IsLetter(static_cast<unsigned char>(row[end])))
                ++end;
            if (end == p + 1) {
                // A lone backslash is a symbol, not a word.
                if (index == p)
                    return std::nullopt;
                p = end;
                continue;
            }
        } else {
            while (end < row.size() && kind != WordClass::None && Continues(kind, row, end))
                end = NextCharStart(row, end);
        }
        if (index < end) {
            if (kind == WordClass::None)
                return std::nullopt;
            return WordRange{p, end};
        }
        p = end;
    }
    return std::nullopt;
}
