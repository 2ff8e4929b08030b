#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/step_host.h"

namespace meridax {

// Twips as the windows are laid out in; 15 twips to a pixel.
constexpr int TwipsToPixels(int twips) {
  return twips / 15;
}
QRect TwipsRect(int left, int top, int width, int height);

// The step host of a window with a display: the status text goes to its text box,
// messages to message boxes with an OK button and no title of their own.
class WidgetStepHost : public StepHost {
 public:
  WidgetStepHost(QWidget* window, QLineEdit* statusBox);
  void SetStatus(std::string_view text) override;
  std::string Status() const override;
  void ShowMessage(std::string_view text) override;
  void ProcessEvents() override;

 private:
  QPointer<QWidget> window_;
  QPointer<QLineEdit> statusBox_;
};

// One step at a time in the whole program: while a step runs (and lets the message loop
// run), clicks on step buttons of any window are ignored rather than nested.
class StepGate {
 public:
  static bool Busy();
  // Runs `step` unless another step is running; returns whether it ran.
  static bool Run(const std::function<void()>& step);
};

}  // namespace meridax
