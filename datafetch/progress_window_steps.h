#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "datafetch/main_window_steps.h"
#include "platform/step_host.h"

namespace meridax::datafetch {

// What the progress window's steps need of its controls.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetProgressMax(std::int64_t value) = 0;
  virtual void SetProgressMin(std::int64_t value) = 0;
  // The control clamps the value into its range.
  virtual void SetProgressValue(std::int64_t value) = 0;
  virtual void SetLabel(std::string_view text) = 0;
  virtual void SetTimerInterval(int milliseconds) = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;
  virtual void Close() = 0;
};

// The steps of the progress window KOVF2SETUP19Z1, without its widgets. It keeps no data
// of its own: it reads DownloadCount and sets DialogResult of its owner.
class ProgressWindow {
 public:
  static constexpr int kTimerInterval = 10;

  ProgressWindow(MainWindow& owner, StepHost& host, ProgressView& view)
      : owner_(owner), host_(host), view_(view) {}

  void Form_Load();
  void Timer1_Timer();
  // "キャンセル"
  void Command1_Click();

 private:
  MainWindow& owner_;
  StepHost& host_;
  ProgressView& view_;
};

// The progress window without a display: the timer is a loop, and the label is printed
// whenever it changes ("3 / 12").
class HeadlessProgressShower : public ProgressWindowShower {
 public:
  using Print = std::function<void(std::string_view)>;
  using Wait = std::function<void(std::chrono::milliseconds)>;

  explicit HeadlessProgressShower(Print print, Wait wait = {});
  void ShowModal(MainWindow& owner, StepHost& host) override;

 private:
  Print print_;
  Wait wait_;
};

}  // namespace meridax::datafetch
