#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace meridax {

// What a step needs of its window, so that steps run with or without a display.
// Texts are UTF-8: they are what reaches the screen.
class StepHost {
 public:
  virtual ~StepHost() = default;
  // Replaces the window's status text (its text box `Text1`).
  virtual void SetStatus(std::string_view text) = 0;
  virtual std::string Status() const = 0;
  // A message box with an OK button; returns when it is closed.
  virtual void ShowMessage(std::string_view text) = 0;
  // Lets the message loop run once, so the window repaints during a long step.
  virtual void ProcessEvents() = 0;
};

// A host without a display: keeps the status, records every text it is given and hands
// each to an optional sink (the headless runner prints them).
class RecordingHost : public StepHost {
 public:
  using Sink = std::function<void(std::string_view kind, std::string_view text)>;
  explicit RecordingHost(Sink sink = {}) : sink_(std::move(sink)) {}

  void SetStatus(std::string_view text) override;
  std::string Status() const override { return status_; }
  void ShowMessage(std::string_view text) override;
  void ProcessEvents() override { ++eventPumps_; }

  const std::vector<std::string>& messages() const { return messages_; }
  const std::vector<std::string>& statusHistory() const { return statusHistory_; }
  int eventPumps() const { return eventPumps_; }

 private:
  Sink sink_;
  std::string status_;
  std::vector<std::string> statusHistory_;
  std::vector<std::string> messages_;
  int eventPumps_ = 0;
};

// How a step ended, for callers that need more than the status text.
enum class StepResult { kOk, kFailed };

}  // namespace meridax
