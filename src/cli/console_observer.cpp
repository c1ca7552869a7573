// Terminal progress line of rsfx.
#include "cli/console_observer.h"

#include <fmt/format.h>

namespace rsf::cli {

void ConsoleObserver::StatusText(int panel, const std::string& text) {
  if (panel == kStatusPanelActivity) activity_ = text;
  if (panel == kStatusPanelElapsed) elapsed_ = text;
  if (panel == kStatusPanelRemaining) remaining_ = text;
}

void ConsoleObserver::StatusText(const std::string& text) { activity_ = text; }

void ConsoleObserver::ProcessMessages() {
  if (!progress_) return;
  const int percent = maximum_ > 0 ? static_cast<int>(std::min<std::int64_t>(100, position_ * 100 / maximum_)) : 100;
  fmt::print(progress_, "\r\x1b[K{:3}%  {}  {}", percent, elapsed_, remaining_);
  std::fflush(progress_);
  line_shown_ = true;
}

void ConsoleObserver::RunEnded(bool) { ClearLine(); }

void ConsoleObserver::ClearLine() {
  if (!progress_ || !line_shown_) return;
  fmt::print(progress_, "\r\x1b[K");
  std::fflush(progress_);
  line_shown_ = false;
}

}  // namespace rsf::cli
