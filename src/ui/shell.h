// The desktop shell: opens a web address or a local document with the program associated
// with it. Behind an interface so that tests can record what would be opened.
#pragma once

#include <QUrl>
#include <cstdint>
#include <string>

namespace rsf::ui {

class Shell {
 public:
  virtual ~Shell() = default;
  // False when nothing could open the address.
  virtual bool Open(const QUrl& url) = 0;
  // Starts the program associated with the file's type on it ("open"). Returns 0 when it was
  // started, otherwise the system's error code (see ErrorText).
  virtual std::uint32_t OpenDocument(const std::string& path) = 0;
};

class QtShell final : public Shell {
 public:
  bool Open(const QUrl& url) override;
  std::uint32_t OpenDocument(const std::string& path) override;
};

}  // namespace rsf::ui
