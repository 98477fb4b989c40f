#pragma once
#include <QList>
#include <QObject>

class MenuActionList;
class QAction;

// When several enabled actions of the action list share a key, the one
// earliest in the action table runs. (Qt itself runs none of them and only
// warns about an ambiguous shortcut.) The user may give two actions the same
// key in the shortcut editor, and a customisable action may take a fixed
// key such as Ctrl+L or F11.
class ShortCutPrecedence : public QObject {
    Q_OBJECT

public:
    ShortCutPrecedence(const MenuActionList& actions, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAction*> actions_;
};
