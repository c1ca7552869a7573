// Qt message boxes with the program's own button texts.
#include "ui/services/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/display_text.h"
#include "ui/window_texts.h"

namespace rsf::ui {
namespace {

QMessageBox::Icon QtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kWarning: return QMessageBox::Warning;
    case BoxIcon::kInformation: return QMessageBox::Information;
    case BoxIcon::kError:
    case BoxIcon::kStop: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageBoxes::Show(QWidget* owner, BoxIcon icon, const QString& caption, const QString& text) {
  QMessageBox box(QtIcon(icon), caption, text, QMessageBox::NoButton, owner);
  box.addButton(DisplayText(kOkButton), QMessageBox::AcceptRole);
  box.exec();
}

RetryIgnoreAnswer QtMessageBoxes::AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::NoButton, owner);
  QPushButton* retry = box.addButton(DisplayText(kRetryButton), QMessageBox::AcceptRole);
  QPushButton* ignore = box.addButton(DisplayText(kIgnoreButton), QMessageBox::RejectRole);
  box.setDefaultButton(retry);
  box.setEscapeButton(ignore);
  box.exec();
  return box.clickedButton() == retry ? RetryIgnoreAnswer::kRetry : RetryIgnoreAnswer::kIgnore;
}

}  // namespace rsf::ui
