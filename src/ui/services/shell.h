// The desktop shell: opens a web address or a local document with the program associated
// with it. Behind an interface so that tests can record what would be opened.
#pragma once

#include <QObject>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "desktop/shell.h"

class QThread;

namespace rsf::ui {

// The desktop core's shell, and web addresses for the About window's link.
class Shell : public desktop::Shell {
 public:
  // False when nothing could open the address.
  virtual bool Open(const QUrl& url) = 0;
};

// Documents go to the platform layer on a thread of their own, since finding out whether the
// desktop's opener failed takes it a moment; the outcome comes back through the event loop.
class QtShell final : public Shell {
 public:
  QtShell();
  // Waits for openers still being asked (a moment at most).
  ~QtShell() override;

  bool Open(const QUrl& url) override;
  void OpenDocument(const std::string& path, DocumentOutcome done) override;

 private:
  QObject context_;  // outcomes are delivered while it lives
  std::vector<QThread*> pending_;
};

}  // namespace rsf::ui
