// Where playback puts its clip copies and how much room is left there, behind an interface so
// that tests can choose the folder and the free space.
#pragma once

#include <cstdint>
#include <string>

namespace rsf::desktop {

class TemporaryFolder {
 public:
  virtual ~TemporaryFolder() = default;
  // The folder, ending with the path delimiter. Raises rsf::Error when it cannot be made.
  virtual std::string Path() = 0;
  // Free bytes on the folder's file system. Raises rsf::Error when the folder cannot be reached.
  virtual std::int64_t FreeBytes() = 0;
  // The copies are gone (the window closes): the folder itself may go too.
  virtual void Release() {}
};

// A folder of this program run's own inside the system's temporary folder, made on first use,
// that only the user may enter: no other user can plant a link under a copy's name there, nor
// read the copies. Removed at close once the copies are deleted.
class PlatformTemporaryFolder final : public TemporaryFolder {
 public:
  ~PlatformTemporaryFolder() override { Release(); }
  std::string Path() override;
  std::int64_t FreeBytes() override;
  void Release() override;

 private:
  std::string private_folder_;
};

}  // namespace rsf::desktop
