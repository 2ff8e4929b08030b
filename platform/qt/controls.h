#pragma once

#include <QProgressBar>
#include <string_view>

namespace meridax {

// The progress bar control with Max, Min and Value. Value is clamped to [Min, Max], so a
// status beyond the range cannot make the control fail.
class ProgressBarControl {
 public:
  explicit ProgressBarControl(QProgressBar* bar) : bar_(bar) {}
  void SetMax(long long max);
  void SetMin(long long min);
  void SetValue(long long value);
  long long Max() const { return max_; }
  long long Min() const { return min_; }
  long long Value() const { return value_; }

 private:
  void Apply();
  QProgressBar* bar_;
  long long max_ = 100;
  long long min_ = 0;
  long long value_ = 0;
};

}  // namespace meridax
