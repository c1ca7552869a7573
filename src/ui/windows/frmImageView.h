// frmImageView: the picture window TfrmImage that shows a picture clip. It stays on top of the
// other windows, cannot be resized, has only a close button, appears centred over the main
// window and always fits itself to the picture. It is the desktop core's picture view.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "desktop/picture_view.h"

class QLabel;

namespace rsf::ui {

class TfrmImage final : public QWidget, public desktop::PictureView {
 public:
  static constexpr int kInitialClientSize = 105;

  // Created hidden; `owner` is the main window it is centred over.
  explicit TfrmImage(QWidget* owner);

  // The picture control at 0,0, sized to its picture.
  QLabel* Image1 = nullptr;

  // Empties Image1.
  void ClearPicture();
  // Puts `picture` into Image1, fits the window to it and shows the window centred over its
  // owner if it is hidden.
  void ShowPicture(const QImage& picture);
  // Runs at every repaint: the client area takes Image1's width and height.
  void FormShow();

  // --- desktop::PictureView ---
  // Decodes with the program's picture loader (bounded before decoding).
  bool ShowPictureFile(const std::string& path) override;
  void HidePicture() override { hide(); }
  void ClosePicture() override { close(); }
  void SetPictureClosedHandler(std::function<void()> closed) override { on_closed_ = std::move(closed); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CentreOverOwner();

  std::function<void()> on_closed_;
};

}  // namespace rsf::ui
