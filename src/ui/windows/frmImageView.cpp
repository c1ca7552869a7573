// The picture window: a tool-like top-level window owned by the main window.
#include "ui/windows/frmImageView.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPixmap>

#include "ui/services/picture_loader.h"

namespace rsf::ui {

TfrmImage::TfrmImage(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("frmImage"));
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(0, 0, kInitialClientSize, kInitialClientSize);
  Image1->setScaledContents(false);
  setFixedSize(kInitialClientSize, kInitialClientSize);
  hide();
}

void TfrmImage::ClearPicture() { Image1->clear(); }

void TfrmImage::ShowPicture(const QImage& picture) {
  Image1->setPixmap(QPixmap::fromImage(picture));
  Image1->setGeometry(0, 0, picture.width(), picture.height());
  FormShow();
  if (!isVisible()) {
    CentreOverOwner();
    show();
  }
  raise();
}

bool TfrmImage::ShowPictureFile(const std::string& path) {
  ClearPicture();
  const std::optional<QImage> picture = LoadPicture(path);
  if (!picture) return false;
  ShowPicture(*picture);
  return true;
}

void TfrmImage::FormShow() {
  if (size() != Image1->size()) setFixedSize(Image1->size());
}

void TfrmImage::paintEvent(QPaintEvent* event) {
  FormShow();
  QWidget::paintEvent(event);
}

void TfrmImage::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (on_closed_) on_closed_();
}

void TfrmImage::CentreOverOwner() {
  const QWidget* owner = parentWidget();
  if (owner == nullptr) return;
  const QRect over = owner->frameGeometry();
  const QSize frame_extra = frameGeometry().size() - size();
  move(over.center() - QPoint((width() + frame_extra.width()) / 2, (height() + frame_extra.height()) / 2));
}

}  // namespace rsf::ui
