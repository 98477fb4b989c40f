#include "editor/EditorFontChoice.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace EditorFontChoice {
namespace {

const char* const kJapaneseMonospace[] = {
    "IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic", "IPAexGothic",
};
const char* const kLatinMonospace[] = {
    "DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Noto Sans Mono", "FreeMono",
};

bool Installed(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

bool IsDualWidthMonospace(const QFont& font)
{
    const QFontMetrics m(font);
    const int half = m.horizontalAdvance(QLatin1Char('a'));
    return half > 0 && m.horizontalAdvance(QString::fromUtf8("あ")) == 2 * half
        && m.horizontalAdvance(QLatin1Char('W')) == half && m.horizontalAdvance(QLatin1Char('i')) == half;
}

QFont Resolve(const TEditorFont& stored)
{
    QFont font;
    font.setPixelSize(std::max(6, stored.Height < 0 ? -stored.Height : stored.Height));
    font.setBold(HasStyle(stored.Style, fsBold));
    font.setItalic(HasStyle(stored.Style, fsItalic));
    font.setKerning(false);
    font.setStyleHint(QFont::TypeWriter);

    const QString requested = QString::fromStdString(stored.Name);
    if (Installed(requested)) {
        QFont candidate = font;
        candidate.setFamily(requested);
        if (IsDualWidthMonospace(candidate))
            return candidate;
    }
    for (const char* name : kJapaneseMonospace) {
        const QString family = QString::fromUtf8(name);
        if (!Installed(family))
            continue;
        QFont candidate = font;
        candidate.setFamily(family);
        if (IsDualWidthMonospace(candidate))
            return candidate;
    }
    // Any installed family with Japanese glyphs that measures right.
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        QFont candidate = font;
        candidate.setFamily(family);
        if (IsDualWidthMonospace(candidate))
            return candidate;
    }
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(font.pixelSize());
    fixed.setBold(font.bold());
    fixed.setItalic(font.italic());
    return fixed;
}

QFont AsciiCompanion(const QFont& base, int colWidth)
{
    for (const char* name : kLatinMonospace) {
        const QString family = QString::fromUtf8(name);
        if (!Installed(family))
            continue;
        QFont font = base;
        font.setFamily(family);
        // Shrink until one glyph fits a cell.
        for (int size = base.pixelSize(); size > 4; --size) {
            font.setPixelSize(size);
            if (QFontMetrics(font).horizontalAdvance(QLatin1Char('M')) <= colWidth)
                return font;
        }
    }
    return base;
}

}  // namespace EditorFontChoice
