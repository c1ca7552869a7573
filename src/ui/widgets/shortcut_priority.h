// Gives the window's command shortcuts priority over the keys an edit field would take for
// itself: Ctrl+A starts a scan even while the source field has the focus.
#pragma once

#include <QList>
#include <QObject>

class QAction;

namespace rsf::ui {

class ShortcutPriority final : public QObject {
 public:
  ShortcutPriority(QObject* parent, QList<QAction*> actions) : QObject(parent), actions_(std::move(actions)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QList<QAction*> actions_;
};

}  // namespace rsf::ui
