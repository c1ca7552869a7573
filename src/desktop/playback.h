// Playback and preview of one clip: PlayExecute copies the selected clip into a temporary file
// and shows it in the picture window, plays it in the media player, or hands it to the shell,
// in that order of attempts. The copies are listed and deleted when the window closes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop_services.h"
#include "desktop/main_view.h"
#include "desktop/window_options.h"
#include "scan/engine/scan_engine.h"

namespace rsf::desktop {

class Playback {
 public:
  // Ties the player's and the picture window's closing to the status panel.
  Playback(MainView& view, const DesktopServices& services, const ScanEngine& engine, const WindowOptions& options);

  // The command "播放剪辑" and a double-click on a clip entry. Raises the copy's errors
  // (rsf::Error) for the general error display.
  void PlayExecute();
  // Closes the media player's device and window and the picture window (the first step of
  // closing the main window).
  void CloseMedia();
  // Deletes every copy, first to last; one that cannot be deleted asks retry or ignore.
  void DeleteCopies();

  // The temporary copies made so far, in the order they were made.
  std::vector<std::string>& Copies() { return copies_; }
  // Where the four hexadecimal digits of a copy's name come from (0 to 65534).
  void SetCopyNumbers(std::function<int()> draw) { draw_copy_number_ = std::move(draw); }

 private:
  // Copies the clip's bytes into a new file in `folder` and returns its name; the file is
  // listed for deletion at close once it exists.
  std::string CopyClip(std::size_t entry, const std::string& folder);
  bool TryPicture(const std::string& name);
  bool TryMediaPlayer(std::size_t entry, const std::string& name);
  void OpenInShell(const std::string& name);
  void ShowActivity(const char* text);
  // A window closed by the user ends what it showed: the status goes back to idle.
  void BackToIdle(const char* showing);

  MainView& view_;
  DesktopServices services_;
  const ScanEngine& engine_;
  const WindowOptions& options_;
  std::vector<std::string> copies_;
  std::function<int()> draw_copy_number_;
  // Answers that arrive later (the shell's, a window closed) are dropped once this is gone.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace rsf::desktop
