#pragma once
#include <array>
#include <string>

// The page-layout lines the margin dialog puts on the clipboard: one line per
// checked setting, in a fixed order, each ended by CR LF. A setting that has
// a LaTeX length gives "\setlength{\name}{n mm}" (written "nmm}"); the bottom
// margin and the footer height have none, and give a TeX comment line that
// says so, with the value. Text in UTF-8.
namespace MarginSnippet {

// The settings in the order of their lines.
enum Setting {
    BottomMargin,  // 下余白
    FooterHeight,  // フッターの高さ
    FooterMargin,  // フッターとテキストとの間
    HeaderHeight,  // ヘッダー領域の高さ
    HeadMargin,    // ヘッダーとテキストとの間
    LeftMargin,    // 左余白
    RightMargin,   // 右余白
    TextHeight,    // テキスト領域の高さ
    TextWidth,     // テキスト領域の横幅
    TopMargin,     // 上余白
    SettingCount
};

struct Value {
    bool Checked = false;
    int Millimetres = 0;
};

using Values = std::array<Value, SettingCount>;

// The setting's caption in the dialog.
const char* Caption(Setting setting);
// The line for one setting, with its CR LF.
std::string Line(Setting setting, int millimetres);
// Every checked setting's line, in order; empty when none is checked.
std::string Build(const Values& values);

}  // namespace MarginSnippet
