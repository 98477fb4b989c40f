#include "app/ShortCutPrecedence.h"

#include <QAction>
#include <QShortcutEvent>

#include "app/MenuActionList.h"

ShortCutPrecedence::ShortCutPrecedence(const MenuActionList& actions, QObject* parent)
    : QObject(parent), actions_(actions.Actions())
{
    for (QAction* action : actions_)
        action->installEventFilter(this);
}

bool ShortCutPrecedence::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Shortcut)
        return QObject::eventFilter(watched, event);
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    if (!shortcut->isAmbiguous())
        return false;
    for (QAction* action : actions_) {
        if (action->isEnabled() && action->isVisible() && action->shortcuts().contains(shortcut->key())) {
            action->trigger();
            return true;
        }
    }
    return false;
}
