#include "platform/window.h"

#include <stdexcept>
#include <utility>

#include "platform/data_folder_lock.h"
#include "platform/io_error.h"

namespace meridax {
namespace {

// The host a handler sees: its own window's Text1 is the status line, so a step reads
// back what an earlier step of the same window left there.
class Text1Host : public StepHost {
 public:
  Text1Host(WindowSteps& steps, StepHost& outer) : steps_(steps), outer_(outer) {}
  void SetStatus(std::string_view text) override {
    steps_.ShowStepStatus(text);
    outer_.SetStatus(text);
  }
  std::string Status() const override { return steps_.text1; }
  void ShowMessage(std::string_view text) override { outer_.ShowMessage(text); }
  void ProcessEvents() override { outer_.ProcessEvents(); }

 private:
  WindowSteps& steps_;
  StepHost& outer_;
};

constexpr std::string_view kClickSuffix = "_Click";

}  // namespace

void WindowSteps::TypeText1(std::string text) {
  text1 = std::move(text);
  stepStatus_.reset();
}

void WindowSteps::ShowStepStatus(std::string_view text) {
  text1 = text;
  stepStatus_ = text1;
}

bool WindowSteps::Text1IsStepStatus() const {
  return stepStatus_ && *stepStatus_ == text1;
}

const ControlSpec* FindControl(const WindowSpec& layout, std::string_view name) {
  for (const ControlSpec& c : layout.controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

const ControlSpec* FindProcedure(const WindowSpec& layout, std::string_view procedure) {
  if (!procedure.ends_with(kClickSuffix)) return nullptr;
  const ControlSpec* c =
      FindControl(layout, procedure.substr(0, procedure.size() - kClickSuffix.size()));
  return c && c->click ? c : nullptr;
}

int OptionNumber(const WindowSpec& layout, std::string_view control) {
  int n = 0;
  for (const ControlSpec& c : layout.controls) {
    if (c.kind != ControlKind::kOptionButton) continue;
    ++n;
    if (c.name == control) return n;
  }
  return 0;
}

std::unique_ptr<WindowSteps> NewSteps(const WindowSpec& layout, const WindowContext& context) {
  std::unique_ptr<WindowSteps> steps = layout.create(context);
  for (const ControlSpec& c : layout.controls) {
    if (c.kind == ControlKind::kTextBox && c.name == "Text1") steps->text1 = c.caption;
    if (c.kind == ControlKind::kGrid) steps->grid = TextGrid(c.rows, c.cols);
  }
  return steps;
}

namespace {

// The one place where a file failure of a step becomes its status.
// A wait for another program is shown by `display`, the window itself: Text1 keeps what the
// operator typed there for the step to read.
StepResult Framed(StepHost& host, StepHost& display, std::string_view caption,
                  const std::function<StepResult()>& body) {
  try {
    // No other program's commit comes between the step's reads, and one that an ended
    // program left half done is finished before anything is read.
    const DataFolderReading reading(&display);
    return body();
  } catch (const IoError& e) {
    host.SetStatus(std::string(caption) + " エラー: " + e.what());
    return StepResult::kFailed;
  }
}

}  // namespace

StepResult RunStep(StepHost& host, std::string_view caption,
                   const std::function<std::string()>& body) {
  return Framed(host, host, caption, [&] {
    const std::string status = body();
    host.SetStatus(status);
    return StepResult::kOk;
  });
}

StepResult RunHandler(Handler handler, std::string_view caption, bool errorRule, WindowSteps& steps,
                      StepHost& host) {
  Text1Host text1(steps, host);
  if (!errorRule) {
    const DataFolderWaitsShownIn waits(host);
    return handler(steps, text1);
  }
  return Framed(text1, host, caption, [&] { return handler(steps, text1); });
}

StepResult RunControl(const ControlSpec& control, WindowSteps& steps, StepHost& host) {
  return RunHandler(control.click, control.caption, control.errorRule, steps, host);
}

void LoadWindow(const WindowSpec& layout, WindowSteps& steps, StepHost& host, StepHost* waits) {
  if (!layout.load) return;
  const DataFolderReading reading(waits ? waits : &host);
  RunHandler(layout.load, "Form_Load", false, steps, host);
}

void WindowRegistry::Add(const WindowSpec& layout) {
  if (Find(layout.className)) throw std::logic_error("window class registered twice");
  windows_.push_back(&layout);
}

void WindowRegistry::AddUnlessRegistered(const WindowSpec& layout) {
  if (!Find(layout.className)) windows_.push_back(&layout);
}

const WindowSpec* WindowRegistry::Find(std::string_view className) const {
  for (const WindowSpec* w : windows_) {
    if (w->className == className) return w;
  }
  return nullptr;
}

}  // namespace meridax
