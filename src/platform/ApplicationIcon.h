#pragma once
#include <QIcon>
#include <QList>

// Scrivlet's own icon, drawn from resources/scrivlet.svg (compiled into the
// program) at the usual icon sizes: the window icon and the about box's.
QIcon ApplicationIcon();

// The square pixel sizes the icon is drawn and installed at.
const QList<int>& ApplicationIconSizes();
