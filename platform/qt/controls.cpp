#include "platform/qt/controls.h"

#include <algorithm>
#include <climits>

namespace meridax {

void ProgressBarControl::SetMax(long long max) {
  max_ = max;
  Apply();
}

void ProgressBarControl::SetMin(long long min) {
  min_ = min;
  Apply();
}

void ProgressBarControl::SetValue(long long value) {
  value_ = value;
  Apply();
}

void ProgressBarControl::Apply() {
  auto clampInt = [](long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
  };
  const int lo = clampInt(std::min(min_, max_));
  const int hi = clampInt(std::max(min_, max_));
  bar_->setRange(lo, hi);
  bar_->setValue(std::clamp(clampInt(value_), lo, hi));
}

}  // namespace meridax
