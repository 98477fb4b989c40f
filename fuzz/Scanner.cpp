// The colouring scanners over random row text, with a random scheme and a
// random start state (as a stale or damaged row state may hold). The first
// bytes choose the scheme: mail and URL detection, control codes, the
// commenter, the quotation character, the hex prefix, which bracket pairs
// and reserved words it has; then the start state, whether the first row is
// wrapped, whether the row after it is repeated to over 255 bytes, and where
// the text is split into a row and the row after it. The text lies in a heap buffer of
// exactly its size, so the address sanitizer sees any read past its end.
//
// Both the editor's scanner and the base scanner must cover every byte of
// the row (up to its first line break) that is not a blank by tokens that
// run left to right, begin and end at character starts and never pass the
// text's end. Parsing a row must not depend on anything but the row and its
// start state: twice in a row, and after other text, it gives the same state.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/ShiftJis.h"
#include "editor/core/TEditorFountain.h"
#include "editor/core/TEditorParser.h"
#include "editor/core/TEditorStringList.h"
#include "editor/core/TTokenParser.h"

#include "support/Printable.h"

namespace {


std::string_view g_text;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "Scanner: %s\n  text: %s\n", what.c_str(), Printable(g_text).c_str());
    std::fflush(stderr);
    __builtin_trap();
}

const char* const Commenters[] = {"", "%", "//", "\\%", "\x95\x5C"};
const char* const Quotations[] = {"", "'", "\"", "`", "\\", "%", "\x95", "'x"};
const char* const HexPrefixes[] = {"", "$", "0x", "&H", "\\x", "x", "#", "\x83\x5C"};
struct Pair {
    const char* left;
    const char* right;
};
const Pair BracketPairs[] = {
    {"/*", "*/"},
    {"(", ")"},
    {"\x95\x5C", "\\]"},          // 表 ... \]
    {"\\[", "\\]"},
    {"{", ""},                    // inert
    {"<!--", "-->"},
    {"$", "$"},
    {"\x81\x75", "\x81\x76"},     // 「 ... 」
};
const char* const Words[] = {"ab", "section", "BEGIN", "\x95\x5C", "x1", "http", "tion", "a_b"};

// Tokens of one scan: tiled over the non-blank bytes, at character starts.
void CheckScan(TFountainParser& parser, std::string_view text, const TRowAttributeData& state,
               const TFountain& scheme, const char* name)
{
    const std::string_view line = text.substr(0, std::min(text.size(), text.find_first_of("\r\n")));
    std::vector<bool> charStart(line.size() + 1, false);
    for (size_t i = 0; i < line.size(); i += static_cast<size_t>(CharLength(line, i)))
        charStart[i] = true;
    charStart[line.size()] = true;
    const auto blank = [](unsigned char c) { return (c >= 1 && c <= 8) || (c >= 10 && c <= 32); };

    parser.SetText(text, state);
    size_t end = 0;
    size_t tokens = 0;
    for (;;) {
        const uint8_t kind = parser.NextToken();
        if (kind == tkEnd)
            break;
        const std::string who = std::string(name) + " token " + std::to_string(tokens) + " (kind "
                                + std::to_string(kind) + ")";
        if (parser.TokenStart() < 0 || parser.TokenLength() <= 0)
            Fail(who + " is empty or starts before the text");
        const auto start = static_cast<size_t>(parser.TokenStart());
        const size_t tokenEnd = start + static_cast<size_t>(parser.TokenLength());
        if (start < end)
            Fail(who + " overlaps the token before");
        if (tokenEnd > line.size())
            Fail(who + " runs past the end of the text");
        for (size_t i = end; i < start; ++i)
            if (!blank(static_cast<unsigned char>(line[i])))
                Fail(who + ": byte " + std::to_string(i) + " before it is in no token");
        if (!charStart[start] || !charStart[tokenEnd])
            Fail(who + " starts or ends inside a double-byte character");
        if (parser.TokenText() != line.substr(start, tokenEnd - start))
            Fail(who + ": TokenText differs from the token's bytes");
        const int bracket = parser.TokenBracketIndex();
        if (bracket < -1 || bracket >= scheme.Brackets().Count() || (kind != tkBracket && bracket != -1))
            Fail(who + " names bracket pair " + std::to_string(bracket));
        if (parser.ReserveWord() && (kind == tkBracket || kind == tkComment))
            Fail(who + " is a region or comment marked as a reserved word");
        parser.TokenToFountainColor();
        end = tokenEnd;
        if (++tokens > line.size())
            Fail(std::string(name) + " gives more tokens than bytes");
    }
    for (size_t i = end; i < line.size(); ++i)
        if (!blank(static_cast<unsigned char>(line[i])))
            Fail(std::string(name) + ": byte " + std::to_string(i) + " after the last token is in no token");
    if (parser.NextToken() != tkEnd)
        Fail(std::string(name) + " gives a token after the end");
    const int open = parser.State().BracketIndex;
    if (open < -1 || open >= scheme.Brackets().Count())
        Fail(std::string(name) + " leaves bracket pair " + std::to_string(open) + " open");
}

// A start state a parse of the rows above could have stored.
bool Plausible(const TRowAttributeData& state, const TFountain& scheme)
{
    const int open = state.BracketIndex;
    return (state.RemainByte == 0 || state.WrappedToken != 0) && open >= -1 && open < scheme.Brackets().Count()
           && (open < 0 || scheme.Brackets()[open].Active());
}

// The state ParseRow leaves must be one a row can store. From a damaged
// start state a row that starts nothing (blank, or inside a comment) may
// hand the damage on, so only a plausible start state is held to it.
void CheckState(const TRowAttributeData& start, const TRowAttributeData& state, const TFountain& scheme,
                const char* what)
{
    if (!Plausible(start, scheme))
        return;
    if (state.RemainByte < 0 || state.RemainByte > static_cast<int32_t>(TFountainParser::MaxRemain))
        Fail(std::string(what) + ": RemainByte " + std::to_string(state.RemainByte));
    const int open = state.BracketIndex;
    if (open < -1 || open >= scheme.Brackets().Count() || (open >= 0 && !scheme.Brackets()[open].Active()))
        Fail(std::string(what) + ": BracketIndex " + std::to_string(open));
    if (state.RemainByte > 0 && state.WrappedToken == 0)
        Fail(std::string(what) + ": bytes owed by no token");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t Header = 9;
    if (size < Header)
        return 0;

    TEditorFountain scheme;
    scheme.SetMail(data[0] & 1);
    scheme.SetUrl(data[0] & 2);
    scheme.SetControlCode(data[0] & 4);
    scheme.SetCommenter(Commenters[(data[0] >> 3) % std::size(Commenters)]);
    scheme.SetQuotation(Quotations[data[1] % std::size(Quotations)]);
    scheme.SetHexPrefix(HexPrefixes[(data[1] >> 3) % std::size(HexPrefixes)]);
    for (size_t i = 0; i < std::size(BracketPairs); ++i)
        if (data[2] & (1u << i))
            scheme.Brackets().Add(BracketPairs[i].left, BracketPairs[i].right);
    std::vector<std::string> words;
    for (size_t i = 0; i < std::size(Words); ++i)
        if (data[3] & (1u << i))
            words.emplace_back(Words[i]);
    scheme.ReserveWordList().Assign(words);

    // A start state as a row may store it: 4 bits of bracket index (-2..13),
    // a byte of token kind and a byte of bytes owed.
    TRowAttributeData state;
    state.BracketIndex = static_cast<int32_t>(data[4] & 0x0F) - 2;
    state.WrappedToken = data[5];
    state.RemainByte = data[6];
    state.PrevToken = static_cast<uint8_t>(data[7] >> 2);
    const uint8_t rowAttribute = data[7] & 1 ? raWrapped : raLineBreak;

    const size_t n = size - Header;
    const std::unique_ptr<char[]> bytes(new char[n]);
    std::copy(data + Header, data + size, bytes.get());
    const std::string_view text(bytes.get(), n);
    g_text = text;

    auto editorParser = scheme.CreateParser();
    TTokenParser baseParser(&scheme);
    CheckScan(*editorParser, text, state, scheme, "editor scanner");
    CheckScan(baseParser, text, state, scheme, "base scanner");

    // The row and the row after it, cut at a point the input chooses.
    const size_t split = n == 0 ? 0 : data[8] % (n + 1);
    TEditorStringList rows;
    rows.Add(std::string(text.substr(0, split)));
    std::string after(text.substr(split));
    if ((data[7] & 2) && !after.empty()) {
        // Long enough that a token cut at the end of row 0 may owe more
        // bytes than a row's state can hold.
        while (after.size() <= TFountainParser::MaxRemain + 8)
            after += after;
    }
    rows.Add(after);
    rows.SetRowAttribute(0, rowAttribute);

    TRowAttributeData first = state;
    TRowAttributeData second = state;
    editorParser->ParseRow(0, rows, first);
    editorParser->ParseRow(0, rows, second);
    if (!(first == second))
        Fail("ParseRow gives another state the second time");
    // A scanner keeps nothing between rows: after other text, and a new one,
    // give the same state.
    editorParser->ParseRow(1, rows, second);
    second = state;
    editorParser->ParseRow(0, rows, second);
    TRowAttributeData fresh = state;
    scheme.CreateParser()->ParseRow(0, rows, fresh);
    if (!(second == first) || !(fresh == first))
        Fail("ParseRow depends on what the scanner read before");
    CheckState(state, first, scheme, "state after row 0");

    // The next row from the state the first one left.
    first.RowAttribute = rows.GetRowAttribute(1);
    first.PrevRowAttribute = rowAttribute;
    TRowAttributeData next = first;
    editorParser->ParseRow(1, rows, next);
    CheckState(first, next, scheme, "state after row 1");
    CheckScan(*editorParser, rows.RowView(1), first, scheme, "editor scanner on row 1");

    TRowAttributeData base = state;
    baseParser.ParseRow(0, rows, base);
    TRowAttributeData baseAgain = state;
    baseParser.ParseRow(0, rows, baseAgain);
    if (!(base == baseAgain))
        Fail("the base scanner's ParseRow gives another state the second time");
    CheckState(state, base, scheme, "base state after row 0");
    return 0;
}
