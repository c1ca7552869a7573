// Where playback puts its clip copies and how much room is left there, behind an interface so
// that tests can choose the folder and the free space.
#pragma once

#include <cstdint>
#include <string>

namespace rsf::ui {

class TemporaryFolder {
 public:
  virtual ~TemporaryFolder() = default;
  // The folder, ending with the path delimiter.
  virtual std::string Path() = 0;
  // Free bytes on the folder's file system. Raises rsf::Error when the folder cannot be reached.
  virtual std::int64_t FreeBytes() = 0;
};

class PlatformTemporaryFolder final : public TemporaryFolder {
 public:
  std::string Path() override;
  std::int64_t FreeBytes() override;
};

}  // namespace rsf::ui
