// The picture window as playback uses it: a picture clip's copy is shown there when the
// toolkit can decode it. Each front end decodes with its own imaging, bounded before decoding.
#pragma once

#include <functional>
#include <string>

namespace rsf::desktop {

class PictureView {
 public:
  virtual ~PictureView() = default;
  // Empties the window and decodes the file; shows it (centred over the main window, fitted
  // to the picture) and answers true when it is a picture the window can show.
  virtual bool ShowPictureFile(const std::string& path) = 0;
  // Hidden while playback copies the next clip; closed when the main window closes.
  virtual void HidePicture() = 0;
  virtual void ClosePicture() = 0;
  // `closed` runs whenever the user closes the window (not when playback only hides it).
  virtual void SetPictureClosedHandler(std::function<void()> closed) = 0;
};

}  // namespace rsf::desktop
