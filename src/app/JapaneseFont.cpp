#include "app/JapaneseFont.h"

#include <QFontDatabase>
#include <QStringList>

QFont JapaneseMonospaceFont(int pointSize)
{
    static const char* const kCandidates[] = {
        "IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic",
    };
    const QStringList installed = QFontDatabase::families();
    for (const char* name : kCandidates) {
        const QString family = QString::fromUtf8(name);
        if (installed.contains(family, Qt::CaseInsensitive)) {
            QFont font(family, pointSize);
            font.setStyleHint(QFont::TypeWriter);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    return font;
}
