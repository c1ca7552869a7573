// The general error display: an error that a command's handler does not handle itself ends
// the handler and is shown with a stop icon, titled with the application title; the program
// goes on in the same window.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace rsf::ui {

class MessageBoxes;

class GeneralErrorDisplay {
 public:
  GeneralErrorDisplay(MessageBoxes& boxes, QWidget* owner, QString application_title)
      : boxes_(boxes), owner_(owner), application_title_(std::move(application_title)) {}

  // Runs `handler`; an error it raises is shown, never passed on into Qt's event loop.
  void Run(const std::function<void()>& handler) const;
  // Shows one error text (the full stop is added here where the rule asks for it).
  void Show(const std::string& message) const;

 private:
  MessageBoxes& boxes_;
  QWidget* owner_;
  QString application_title_;
};

}  // namespace rsf::ui
