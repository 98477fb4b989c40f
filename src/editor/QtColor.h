#pragma once
#include <QColor>
#include <QPalette>

#include "editor/core/TColor.h"

// A stored colour as Qt draws it. clNone gives `fallback`; the system
// colours come from the application's palette.
inline QColor ToQColor(TColor c, const QColor& fallback)
{
    if (c == clNone)
        return fallback;
    if (c == clWindow)
        return QPalette().color(QPalette::Base);
    if (c == clWindowText)
        return QPalette().color(QPalette::Text);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

// A colour Qt chose as the editor stores it (0x00BBGGRR).
inline TColor ToTColor(const QColor& c)
{
    return static_cast<TColor>(c.red()) | (static_cast<TColor>(c.green()) << 8) | (static_cast<TColor>(c.blue()) << 16);
}
