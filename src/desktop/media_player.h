// The main window's media player MediaPlayer1 as playback uses it: open a file, play it from
// the start in a small window of its own, close the device. Behind an interface so that tests
// can stand in for the media services.
#pragma once

#include <functional>
#include <string>

#include "base/errors.h"

namespace rsf::desktop {

// The media services refused to open a file; the text is their own. Playback then hands the
// file to the shell.
class MediaDeviceError : public Error {
 public:
  using Error::Error;
};

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Opens a device for the file (closing any open one) and waits, for a bounded time, until
  // the media is loaded. `title` names the clip in the player's window. Raises
  // MediaDeviceError when the media services refuse the file.
  virtual void Open(const std::string& path, const std::string& title) = 0;
  // Starts playing the open file from its beginning and returns at once.
  virtual void Play() = 0;
  // Stops playing, closes the player's window and releases the file; does nothing when no
  // device is open.
  virtual void Close() = 0;
  // `closed` runs when the user closes the player's window (which stops the playing).
  virtual void SetWindowClosedHandler(std::function<void()> closed) { (void)closed; }
};

}  // namespace rsf::desktop
