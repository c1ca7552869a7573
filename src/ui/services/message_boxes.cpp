// Qt message boxes with the program's own button texts.
#include "ui/services/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/display_text.h"
#include "desktop/window_texts.h"

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
  box.addButton(DisplayText(desktop::kOkButton), QMessageBox::AcceptRole);
  box.exec();
}

RetryIgnoreAnswer QtMessageBoxes::AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::NoButton, owner);
  QPushButton* retry = box.addButton(DisplayText(desktop::kRetryButton), QMessageBox::AcceptRole);
  QPushButton* ignore = box.addButton(DisplayText(desktop::kIgnoreButton), QMessageBox::RejectRole);
  box.setDefaultButton(retry);
  box.setEscapeButton(ignore);
  box.exec();
  return box.clickedButton() == retry ? RetryIgnoreAnswer::kRetry : RetryIgnoreAnswer::kIgnore;
}

void OwnedMessageBoxes::Show(BoxIcon icon, const std::string& caption, const std::string& text) {
  boxes_.Show(owner_, icon, DisplayText(caption), DisplayText(text));
}

RetryIgnoreAnswer OwnedMessageBoxes::AskRetryIgnore(const std::string& caption, const std::string& text) {
  return boxes_.AskRetryIgnore(owner_, DisplayText(caption), DisplayText(text));
}

}  // namespace rsf::ui
