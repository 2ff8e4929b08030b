#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <exception>
#include <functional>

#include "datafetch/progress_window_steps.h"
#include "platform/qt/controls.h"
#include "platform/qt/widget_host.h"

namespace meridax::datafetch {

// KOVF2SETUP19Z1 ("KOVF2C:ダウンロード"): a thin shell over ProgressWindow.
class ProgressDialog : public QDialog, public ProgressView {
 public:
  ProgressDialog(MainWindow& owner, QWidget* parent);

  ProgressWindow& Steps() { return steps_; }
  QTimer& Timer1() { return timer_; }
  QProgressBar* ProgressBar1() const { return bar_; }
  QLabel* Label1() const { return label_; }
  QPushButton* Command1() const { return cancel_; }

  void SetProgressMax(std::int64_t value) override { progress_.SetMax(value); }
  void SetProgressMin(std::int64_t value) override { progress_.SetMin(value); }
  void SetProgressValue(std::int64_t value) override { progress_.SetValue(value); }
  void SetLabel(std::string_view text) override;
  void SetTimerInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
  void SetTimerEnabled(bool enabled) override;
  void Close() override;

  // A failure of a handler of the window, rethrown to the step that showed it.
  std::exception_ptr failure() const { return failure_; }

 private:
  // Runs a handler inside Qt's event loop, which no exception may cross: a failure closes
  // the window and is kept for the step.
  void Guarded(const std::function<void()>& handler);

  QProgressBar* bar_;
  QLabel* label_;
  QPushButton* cancel_;
  QTimer timer_;
  ProgressBarControl progress_;
  WidgetStepHost host_;
  ProgressWindow steps_;
  std::exception_ptr failure_;
};

// Shows ProgressDialog modally over the main window's widget.
class QtProgressShower : public ProgressWindowShower {
 public:
  explicit QtProgressShower(QWidget* ownerWidget) : ownerWidget_(ownerWidget) {}
  void ShowModal(MainWindow& owner, StepHost& host) override;

 private:
  QWidget* ownerWidget_;
};

}  // namespace meridax::datafetch
