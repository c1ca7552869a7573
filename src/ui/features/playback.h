// Playback and preview of one clip: PlayExecute copies the selected clip into a temporary file
// and shows it in the picture window, plays it in the media player, or hands it to the shell,
// in that order of attempts. It sees of the main window only what PlaybackWindow offers.
#pragma once

#include <functional>
#include <string>

#include "scan/catalogue/clip_catalogue.h"
#include "stream/source_stream.h"

class QWidget;

namespace rsf::ui {

class MediaPlayer;
class MessageBoxes;
class Shell;
class TemporaryFolder;
class TfrmImage;

// What playback needs of the main window.
class PlaybackWindow {
 public:
  // The window message boxes are shown over.
  virtual QWidget& Owner() = 0;
  // The catalogue of the last scan, its selected entry (-1: none) and the still open source.
  virtual const ClipCatalogue& Clips() const = 0;
  virtual int SelectedClip() const = 0;
  virtual SourceStream* ClipSource() const = 0;
  // The option "首先尝试内部回放".
  virtual bool InternalPlaybackFirst() const = 0;
  // Status panel 1.
  virtual void ShowActivity(const char* text) = 0;
  virtual bool ShowsActivity(const char* text) const = 0;
  virtual void RepaintNow() = 0;
  // Lists a temporary copy for deletion when the window closes.
  virtual void KeepTemporaryFile(const std::string& path) = 0;
  // True once the window is closing: nothing more is shown then.
  virtual bool Closing() const = 0;

 protected:
  ~PlaybackWindow() = default;
};

class Playback {
 public:
  Playback(MessageBoxes& boxes, Shell& shell, MediaPlayer& player, TemporaryFolder& folder, TfrmImage& picture_window);

  // The action "播放剪辑" and a double-click on a clip entry. Raises the copy's errors
  // (rsf::Error) for the general error display.
  void PlayExecute(PlaybackWindow& window);
  // Ties the player's and the picture window's closing to the main window's status.
  void Bind(PlaybackWindow& window);
  // Closes the media player's device and window and the picture window (the first step of
  // closing the main window).
  void CloseMedia();

  // Where the four hexadecimal digits of a copy's name come from (0 to 65534).
  void SetCopyNumbers(std::function<int()> draw) { draw_copy_number_ = std::move(draw); }

 private:
  // Copies the clip's bytes into a new file in `folder` and returns its name; the file is
  // listed for deletion at close once it exists.
  std::string CopyClip(PlaybackWindow& window, std::size_t entry, const std::string& folder);
  bool TryPicture(PlaybackWindow& window, const std::string& name);
  bool TryMediaPlayer(PlaybackWindow& window, std::size_t entry, const std::string& name);
  void OpenInShell(PlaybackWindow& window, const std::string& name);

  MessageBoxes& boxes_;
  Shell& shell_;
  MediaPlayer& player_;
  TemporaryFolder& folder_;
  TfrmImage& picture_window_;
  std::function<int()> draw_copy_number_;
};

}  // namespace rsf::ui
