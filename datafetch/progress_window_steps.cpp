#include "datafetch/progress_window_steps.h"

#include <thread>

namespace meridax::datafetch {

void ProgressWindow::Form_Load() {
  view_.SetProgressMax(owner_.DownloadCount());
  view_.SetProgressMin(0);
  view_.SetProgressValue(0);
  view_.SetTimerInterval(kTimerInterval);
  view_.SetTimerEnabled(true);
}

void ProgressWindow::Timer1_Timer() {
  const std::int32_t status = owner_.JVLink1().JVStatus();
  if (status < 0) {
    view_.SetTimerEnabled(false);
    owner_.ReportFailure(host_, "ダウンロード失敗。RC=" + std::to_string(status));
    view_.Close();
    return;
  }
  view_.SetProgressValue(status);
  view_.SetLabel(std::to_string(status) + " / " + std::to_string(owner_.DownloadCount()));
  if (status == owner_.DownloadCount()) {
    owner_.SetDialogResult(0);
    view_.Close();
  }
}

void ProgressWindow::Command1_Click() {
  owner_.JVLink1().JVCancel();
  owner_.SetDialogResult(-1);
  view_.Close();
}

namespace {

class HeadlessProgressView : public ProgressView {
 public:
  explicit HeadlessProgressView(const HeadlessProgressShower::Print& print) : print_(print) {}

  void SetProgressMax(std::int64_t) override {}
  void SetProgressMin(std::int64_t) override {}
  void SetProgressValue(std::int64_t) override {}
  void SetLabel(std::string_view text) override {
    if (text == label_) return;
    label_ = text;
    if (print_) print_(text);
  }
  void SetTimerInterval(int milliseconds) override { interval_ = milliseconds; }
  void SetTimerEnabled(bool enabled) override { enabled_ = enabled; }
  void Close() override { closed_ = true; }

  bool Ticking() const { return !closed_ && enabled_; }
  std::chrono::milliseconds Interval() const { return std::chrono::milliseconds(interval_); }

 private:
  const HeadlessProgressShower::Print& print_;
  std::string label_ = "Label1";
  int interval_ = 0;
  bool enabled_ = false;
  bool closed_ = false;
};

}  // namespace

HeadlessProgressShower::HeadlessProgressShower(Print print, Wait wait)
    : print_(std::move(print)), wait_(std::move(wait)) {
  if (!wait_) wait_ = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
}

void HeadlessProgressShower::ShowModal(MainWindow& owner, StepHost& host) {
  HeadlessProgressView view(print_);
  ProgressWindow window(owner, host, view);
  window.Form_Load();
  while (view.Ticking()) {
    wait_(view.Interval());
    window.Timer1_Timer();
  }
}

}  // namespace meridax::datafetch
