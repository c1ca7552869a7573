// Names of the temporary clip copies and their deletion at close.
#include "desktop/temporary_copies.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/random_text.h"
#include "desktop/message_boxes.h"
#include "desktop/window_texts.h"

namespace rsf::desktop {

// A copy that is already gone (removed by hand meanwhile) counts as deleted: nothing to ask.
bool PlatformFileDeleter::Delete(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  return !Exists(path);
}

bool PlatformFileDeleter::Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

std::string TemporaryClipName(const std::string& folder, int number, const std::string& extension) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(number) & 0xFFFFu);
  return folder + kTemporaryClipStem + digits + extension;
}

int RandomCopyNumber() { return static_cast<int>(RandomBelow(kHighestCopyNumber + 1)); }

std::string CannotDeleteText(const std::string& path) {
  return std::string(kCannotDeleteTempFile) + " \"" + path + "\" !";
}

void DeleteTemporaryFiles(const std::vector<std::string>& paths, FileDeleter& deleter, MessageBoxes& boxes) {
  for (const std::string& path : paths) {
    while (!deleter.Delete(path)) {
      const RetryIgnoreAnswer answer = boxes.AskRetryIgnore(kErrorCaption, CannotDeleteText(path));
      if (answer == RetryIgnoreAnswer::kIgnore || !deleter.Exists(path)) break;
    }
  }
}

}  // namespace rsf::desktop
