#include "tex/MarginSnippet.h"

namespace MarginSnippet {

namespace {

struct Row {
    const char* Caption;
    const char* Length;  // the LaTeX length; null where LaTeX has none
    const char* Note;    // for those: what decides it instead
};

constexpr Row kRows[SettingCount] = {
    {"下余白", nullptr, "\\topmargin と \\textheight などから決まります"},
    {"フッターの高さ", nullptr, "フッターの位置は \\footskip で決まります"},
    {"フッターとテキストとの間", "\\footskip", nullptr},
    {"ヘッダー領域の高さ", "\\headheight", nullptr},
    {"ヘッダーとテキストとの間", "\\headsep", nullptr},
    {"左余白", "\\oddsidemargin", nullptr},
    {"右余白", "\\evensidemargin", nullptr},
    {"テキスト領域の高さ", "\\textheight", nullptr},
    {"テキスト領域の横幅", "\\textwidth", nullptr},
    {"上余白", "\\topmargin", nullptr},
};

}  // namespace

const char* Caption(Setting setting) { return kRows[setting].Caption; }

std::string Line(Setting setting, int millimetres)
{
    const Row& row = kRows[setting];
    const std::string value = std::to_string(millimetres) + "mm";
    std::string line;
    if (row.Length) {
        line = std::string("\\setlength{") + row.Length + "}{" + value + "}";
    } else {
        // LaTeX sets no such length: the line only records the wish.
        line = std::string("% ") + row.Caption + " " + value + ": LaTeXに" + row.Caption + "の長さはありません（" +
               row.Note + "）";
    }
    return line + "\r\n";
}

std::string Build(const Values& values)
{
    std::string text;
    for (int i = 0; i < SettingCount; ++i)
        if (values[i].Checked)
            text += Line(static_cast<Setting>(i), values[i].Millimetres);
    return text;
}

}  // namespace MarginSnippet
