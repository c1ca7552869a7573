// The shell: addresses through Qt's desktop services, documents through the platform layer,
// which can say why a document could not be opened.
#include "ui/services/shell.h"

#include <QDesktopServices>
#include <QThread>
#include <algorithm>
#include <memory>

#include "platform/shell_open.h"

namespace rsf::ui {

QtShell::QtShell() = default;

QtShell::~QtShell() {
  for (QThread* thread : pending_) {
    thread->wait();
    delete thread;
  }
}

bool QtShell::Open(const QUrl& url) { return QDesktopServices::openUrl(url); }

void QtShell::OpenDocument(const std::string& path, DocumentOutcome done) {
  auto outcome = std::make_shared<platform::OpenOutcome>();
  QThread* thread = QThread::create([path, outcome] { *outcome = platform::OpenWithAssociatedProgram(path); });
  pending_.push_back(thread);
  QObject::connect(thread, &QThread::finished, &context_, [this, thread, outcome, done = std::move(done)] {
    std::erase(pending_, thread);
    thread->deleteLater();
    if (done) done(*outcome);
  });
  thread->start();
}

}  // namespace rsf::ui
