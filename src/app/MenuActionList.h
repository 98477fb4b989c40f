#pragma once
#include <QList>
#include <QString>

#include <map>

class QAction;
class QObject;

// One command of the program as the action table gives it.
struct MenuActionEntry {
    const char* Name;      // the action's name, also its QObject name
    const char* Category;
    const char* Caption;
    const char* Hint;      // "" for none; short and long hint joined by '|'
    const char* Shortcut;  // "" for none
    bool UserShortcut;     // the user may change the shortcut
};

// Every command of the program: menus, tool-bar buttons, context menus and
// shortcuts all run these actions. Actions whose behaviour is not built yet
// stand in the menus disabled.
class MenuActionList {
public:
    explicit MenuActionList(QObject* owner);

    // The table, in its order.
    static const QList<MenuActionEntry>& Entries();

    QAction* Action(const QString& name) const;
    QList<QAction*> Actions() const;
    // Runs the action by name, the same path as a menu click; false when
    // there is no such action or it is disabled.
    bool Run(const QString& name) const;

private:
    std::map<QString, QAction*> actions_;
};
