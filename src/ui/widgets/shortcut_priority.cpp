// A filter on edit fields: the override request for a key that belongs to one of the window's
// commands is kept from the field, so the command's shortcut fires.
#include "ui/widgets/shortcut_priority.h"

#include <QAction>
#include <QKeyEvent>

namespace rsf::ui {

bool ShortcutPriority::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  for (const QAction* action : actions_)
    if (!action->shortcut().isEmpty() && action->shortcut() == pressed) return true;
  return false;
}

}  // namespace rsf::ui
