#include "tex/TeXCommandCollation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <memory>

#include "editor/core/ShiftJisCodec.h"

TTeXCommand::Collation TeXCommandCollation()
{
    auto collator = std::make_shared<QCollator>(QLocale());
    collator->setCaseSensitivity(Qt::CaseSensitive);
    collator->setNumericMode(false);
    return [collator](const std::string& a, const std::string& b) {
        const QString qa = QString::fromStdU32String(ShiftJisCodec::DecodeForDisplay(a));
        const QString qb = QString::fromStdU32String(ShiftJisCodec::DecodeForDisplay(b));
        const int order = collator->compare(qa, qb);
        return order != 0 ? order : a.compare(b);
    };
}
