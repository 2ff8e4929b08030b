#pragma once

#include <string>
#include <vector>

#include "datafetch/progress_window_steps.h"

namespace meridax::testing {

// The progress window's controls as a log of what was done to them.
class RecordingProgressView : public datafetch::ProgressView {
 public:
  void SetProgressMax(std::int64_t v) override { Note("Max=" + std::to_string(v)); }
  void SetProgressMin(std::int64_t v) override { Note("Min=" + std::to_string(v)); }
  void SetProgressValue(std::int64_t v) override { Note("Value=" + std::to_string(v)); }
  void SetLabel(std::string_view text) override {
    label = text;
    Note("Label=" + label);
  }
  void SetTimerInterval(int ms) override { Note("Interval=" + std::to_string(ms)); }
  void SetTimerEnabled(bool enabled) override {
    timerEnabled = enabled;
    Note(enabled ? "Timer=on" : "Timer=off");
  }
  void Close() override {
    closed = true;
    Note("Close");
  }

  std::vector<std::string> events;
  std::string label = "Label1";
  bool timerEnabled = false;
  bool closed = false;

 private:
  void Note(std::string event) { events.push_back(std::move(event)); }
};

// Shows the progress window's steps as a script says: the timer ticks until the window
// closes itself, or `ticks` times before "キャンセル" or the close box.
class ScriptedProgressShower : public datafetch::ProgressWindowShower {
 public:
  enum class Then { kNothing, kCancel, kCloseBox };
  int ticks = -1;  // -1: until the window closes
  Then then = Then::kNothing;

  int shown = 0;
  std::string lastLabel;

  void ShowModal(datafetch::MainWindow& owner, StepHost& host) override {
    ++shown;
    RecordingProgressView view;
    datafetch::ProgressWindow window(owner, host, view);
    window.Form_Load();
    for (int t = 0; !view.closed && view.timerEnabled && (ticks < 0 ? t < 1000 : t < ticks); ++t) {
      window.Timer1_Timer();
    }
    if (!view.closed && then == Then::kCancel) window.Command1_Click();
    lastLabel = view.label;
  }
};

}  // namespace meridax::testing
