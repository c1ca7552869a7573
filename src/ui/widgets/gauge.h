// The progress gauge: a horizontal bar filled in navy up to the share of progress in maximum,
// with the percentage written across it. Maximum and progress are byte counts or clip counts.
#pragma once

#include <QWidget>
#include <cstdint>

namespace rsf::ui {

class Gauge final : public QWidget {
 public:
  explicit Gauge(QWidget* parent = nullptr);

  void SetMaximum(std::int64_t maximum);
  void SetProgress(std::int64_t progress);
  std::int64_t Maximum() const { return maximum_; }
  std::int64_t Progress() const { return progress_; }
  // 0 to 100; 0 when the maximum is 0 or less.
  int PercentDone() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::int64_t maximum_ = 100;
  std::int64_t progress_ = 0;
};

}  // namespace rsf::ui
