#include "editor/TEditorPreedit.h"

#include <QTextCharFormat>

#include <algorithm>

#include "editor/core/ShiftJisCodec.h"

int TEditorPreedit::CellsOf(char32_t code)
{
    std::string bytes;
    if (ShiftJisCodec::EncodeCodePoint(code, bytes))
        return static_cast<int>(bytes.size());
    return code < 0x80 ? 1 : 2;
}

void TEditorPreedit::Set(const QString& text, const QList<QInputMethodEvent::Attribute>& attributes)
{
    codes_.clear();
    columns_.clear();
    looks_.clear();
    // Cell at each UTF-16 index of `text`, which is how the attributes count.
    std::vector<int> cellAt(static_cast<std::size_t>(text.size()) + 1, 0);
    std::vector<int> charAt(static_cast<std::size_t>(text.size()) + 1, 0);
    int cells = 0;
    for (qsizetype i = 0; i < text.size();) {
        char32_t code = text.at(i).unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            units = 2;
        }
        for (qsizetype k = 0; k < units; ++k) {
            cellAt[static_cast<std::size_t>(i + k)] = cells;
            charAt[static_cast<std::size_t>(i + k)] = static_cast<int>(codes_.size());
        }
        codes_.push_back(code);
        columns_.push_back(cells);
        cells += CellsOf(code);
        i += units;
    }
    cellAt.back() = cells;
    charAt.back() = static_cast<int>(codes_.size());
    cells_ = cells;
    looks_.resize(codes_.size());

    const auto clampIndex = [&](int index) {
        return static_cast<std::size_t>(std::clamp<qsizetype>(index, 0, text.size()));
    };
    cursorCell_ = cells;
    cursorVisible_ = true;
    for (const QInputMethodEvent::Attribute& a : attributes) {
        if (a.type == QInputMethodEvent::Cursor) {
            cursorCell_ = cellAt[clampIndex(a.start)];
            cursorVisible_ = a.length != 0;
        } else if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            if (!format.isValid())
                continue;
            Look look;
            if (format.hasProperty(QTextFormat::ForegroundBrush))
                look.foreground = format.foreground().color();
            if (format.hasProperty(QTextFormat::BackgroundBrush))
                look.background = format.background().color();
            const QTextCharFormat::UnderlineStyle underline = format.underlineStyle();
            look.marked = look.background.isValid()
                || (underline != QTextCharFormat::NoUnderline && underline != QTextCharFormat::SingleUnderline);
            const int from = charAt[clampIndex(a.start)];
            const int to = charAt[clampIndex(a.start + std::max(0, a.length))];
            for (int c = from; c < to; ++c)
                looks_[static_cast<std::size_t>(c)] = look;
        }
    }
}
