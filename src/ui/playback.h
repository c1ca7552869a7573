// Playback and preview of one clip: PlayExecute copies the selected clip into a temporary file
// and shows it in the picture window, plays it in the media player, or hands it to the shell,
// in that order of attempts.
#pragma once

#include <functional>
#include <string>

namespace rsf::ui {

class MediaPlayer;
class MessageBoxes;
class Shell;
class TemporaryFolder;
class TfrmImage;
class TfrmMainForm;

class Playback {
 public:
  Playback(MessageBoxes& boxes, Shell& shell, MediaPlayer& player, TemporaryFolder& folder, TfrmImage& picture_window);

  // The action "播放剪辑" and a double-click on a clip entry. Raises the copy's errors
  // (rsf::Error) for the general error display.
  void PlayExecute(TfrmMainForm& form);
  // Ties the player's and the picture window's closing to the main window's status.
  void Bind(TfrmMainForm& form);
  // Closes the media player's device and window and the picture window (the first step of
  // closing the main window).
  void CloseMedia();

  // Where the four hexadecimal digits of a copy's name come from (0 to 65534).
  void SetCopyNumbers(std::function<int()> draw) { draw_copy_number_ = std::move(draw); }

 private:
  // Copies the clip's bytes into a new file in `folder` and returns its name; the file is
  // listed for deletion at close once it exists.
  std::string CopyClip(TfrmMainForm& form, std::size_t entry, const std::string& folder);
  bool TryPicture(TfrmMainForm& form, const std::string& name);
  bool TryMediaPlayer(TfrmMainForm& form, std::size_t entry, const std::string& name);
  void OpenInShell(TfrmMainForm& form, const std::string& name);

  MessageBoxes& boxes_;
  Shell& shell_;
  MediaPlayer& player_;
  TemporaryFolder& folder_;
  TfrmImage& picture_window_;
  std::function<int()> draw_copy_number_;
};

}  // namespace rsf::ui
