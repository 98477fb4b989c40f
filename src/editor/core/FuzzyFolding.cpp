#include "editor/core/FuzzyFolding.h"

#include <array>

#include "editor/core/ShiftJis.h"

namespace {

// Full-width forms of 0x21-0x7E, in byte order.
constexpr uint16_t kFullWidthAscii[94] = {
    0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169,  // ! " # $ % & ' (
    0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,          // ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 0-7
    0x8257, 0x8258,                                                  // 8 9
    0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197,          // : ; < = > ? @
    0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, 0x8267,  // A-H
    0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F,  // I-P
    0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277,  // Q-X
    0x8278, 0x8279,                                                  // Y Z
    0x816D, 0x818F, 0x816E, 0x814F, 0x8151, 0x814D,                  // [ yen ] ^ _ `
    0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288,  // a-h
    0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290,  // i-p
    0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, 0x8298,  // q-x
    0x8299, 0x829A,                                                  // y z
    0x816F, 0x8162, 0x8170, 0x8150,                                  // { | } overline
};

// Full-width forms of 0xA1-0xDF, in byte order.
constexpr uint16_t kFullWidthKana[63] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145,                          // 。「」、・
    0x8392,                                                          // ヲ
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387,  // ァィゥェォャュョ
    0x8362, 0x815B,                                                  // ッー
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349,                          // アイウエオ
    0x834A, 0x834C, 0x834E, 0x8350, 0x8352,                          // カキクケコ
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C,                          // サシスセソ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367,                          // タチツテト
    0x8369, 0x836A, 0x836B, 0x836C, 0x836D,                          // ナニヌネノ
    0x836E, 0x8371, 0x8374, 0x8377, 0x837A,                          // ハヒフヘホ
    0x837D, 0x837E, 0x8380, 0x8381, 0x8382,                          // マミムメモ
    0x8384, 0x8386, 0x8388,                                          // ヤユヨ
    0x8389, 0x838A, 0x838B, 0x838C, 0x838D,                          // ラリルレロ
    0x838F, 0x8393,                                                  // ワン
    0x814A, 0x814B,                                                  // ゛゜
};

constexpr std::array<uint16_t, 256> MakeSingleByteTable()
{
    std::array<uint16_t, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<uint16_t>(b);
    t[0x20] = 0x8140;
    for (int b = 0x21; b <= 0x7E; ++b)
        t[b] = kFullWidthAscii[b - 0x21];
    for (int b = 0xA1; b <= 0xDF; ++b)
        t[b] = kFullWidthKana[b - 0xA1];
    return t;
}

constexpr std::array<uint16_t, 256> kSingleByte = MakeSingleByteTable();

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;
constexpr unsigned char kHalfWidthU = 0xB3;
constexpr uint16_t kFullWidthVu = 0x8394;

bool InVoicedRows(unsigned char b)
{
    return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
}

}  // namespace

uint16_t FoldSingleByte(unsigned char b)
{
    return kSingleByte[b];
}

bool TakesSoundMark(unsigned char kana, unsigned char mark)
{
    if (mark == kVoicedMark)
        return kana == kHalfWidthU || InVoicedRows(kana);
    if (mark == kSemiVoicedMark)
        return InVoicedRows(kana);
    return false;
}

TFoldedChar FuzzyFoldChar(std::string_view s, std::size_t pos)
{
    const int len = CharLength(s, pos);
    const auto b = static_cast<unsigned char>(s[pos]);
    if (len == 2)
        return {DoubleByteCode(b, static_cast<unsigned char>(s[pos + 1])), 2};
    if (pos + 1 < s.size()) {
        const auto mark = static_cast<unsigned char>(s[pos + 1]);
        if (TakesSoundMark(b, mark)) {
            if (b == kHalfWidthU)
                return {kFullWidthVu, 2};
            // The semi-voiced mark moves two codes on in every one of these
            // rows, not only in the ha row where that is the semi-voiced
            // form: one rule for all four rows (so "ｶﾟ" folds like "キ").
            const int step = mark == kVoicedMark ? 1 : 2;
            return {static_cast<uint16_t>(kSingleByte[b] + step), 2};
        }
    }
    return {kSingleByte[b], 1};
}

std::string FuzzyFold(std::string_view s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (std::size_t pos = 0; pos < s.size();) {
        const TFoldedChar c = FuzzyFoldChar(s, pos);
        if (c.Code > 0xFF)
            out += static_cast<char>(c.Code >> 8);
        out += static_cast<char>(c.Code & 0xFF);
        pos += c.Length;
    }
    return out;
}
