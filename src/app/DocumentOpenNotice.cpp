#include "app/DocumentOpenNotice.h"

#include "app/DocumentFile.h"

namespace {

const char* EncodingDescription(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8 のテキスト";
    case TextEncoding::Utf16:
        return "UTF-16 のテキスト";
    case TextEncoding::EucJp:
        return "EUC-JP のテキスト";
    case TextEncoding::Iso2022Jp:
        return "JIS (ISO-2022-JP) のテキスト";
    case TextEncoding::Binary:
        return "バイナリファイル";
    case TextEncoding::Unknown:
    case TextEncoding::ShiftJis:
        break;
    }
    return "別の文字コードのテキスト";
}

}  // namespace

std::string DocumentOpenNotice(const DocumentFile& file)
{
    std::string notice;
    if (file.BytesAfterEof() > 0) {
        const std::string bytes = std::to_string(file.BytesAfterEof());
        notice += "このファイルには途中に EOF 文字 (Ctrl+Z) があり、その後ろの " + bytes
            + " バイトは読み込んでいません。このまま保存すると、その " + bytes
            + " バイトはファイルから失われます。";
    }
    if (file.Encoding() != TextEncoding::ShiftJis) {
        if (!notice.empty())
            notice += "\n\n";
        notice += std::string("このファイルは Shift-JIS ではなく、") + EncodingDescription(file.Encoding())
            + "のようです。文字コードは変換しないので、文字は正しく表示されないことがありますが、"
              "ファイルのバイトはそのまま保たれ、保存してもそのまま書き戻されます。";
    }
    return notice;
}
