#pragma once

#include <QDialog>
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

// Shows a status in a text box from its start, the whole text as the box's tool tip, so a
// long status ("... エラー: フォルダがありません <path>") can be read whole.
void ShowStatusText(QLineEdit* box, std::string_view text);

// Runs a dialog that waits for the operator (a message, a setting, a folder to choose) and
// returns its result. A running step's busy cursor gives way meanwhile to the dialog's own
// cursors: the arrow, the text cursor over a field; and the step's hold on the data folder
// lets other programs commit (platform/data_folder_lock.h).
int ExecAwaitingOperator(QDialog& dialog);

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

// One step at a time in the whole program. While a step runs (and lets the message loop
// run) clicks on the controls of any step window are ignored rather than nested, and so
// are clicks made meanwhile whose events are only delivered after the step ended; a double
// click runs one step, its second click ignored also after a short step ended. The cursor
// shows that the program is busy.
class StepGate {
 public:
  static bool Busy();
  // Runs `step` unless another step is running; returns whether it ran.
  static bool Run(const std::function<void()>& step);
  // Watches the input events of the windows for which `isStepWindow` holds (installed once
  // per application).
  static void Watch(const std::function<bool(const QWidget* window)>& isStepWindow);
  // Takes in the time (the window system's clock) of an input event delivered now: whether
  // it was made before the last step ended.
  static bool MadeBeforeLastStepEnded(quint64 eventTime);
};

}  // namespace meridax
