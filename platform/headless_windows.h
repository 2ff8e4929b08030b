#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/step_host.h"
#include "platform/window.h"

namespace meridax {

// The windows of one run without a display. A step names a window class and what to do:
//   Window.Procedure         runs a button's (or another control's) click procedure
//   Window.Text1=TEXT        types TEXT into the text box
//   Window.OptionN           selects an option button
//   Window.List1_Click=TEXT  selects the List1 entry TEXT and runs List1_Click
// Each window class has one instance for the run, created at the first step that names it
// (its Form_Load runs then), so window state carries from step to step as between clicks.
class HeadlessWindows {
 public:
  enum class Outcome {
    kOk,
    kFailed,      // the step ran and ended with an error
    kUnknown,     // no such window, procedure or control
    kNoSuchEntry  // List1 holds no such entry at that moment
  };

  HeadlessWindows(const WindowRegistry& registry, StepHost& host, WindowContext context = {});
  ~HeadlessWindows();

  // Whether the runner knows the step's form, window and procedure, before anything runs.
  bool Known(std::string_view step) const;
  // Runs one step. Failures that a step does not meet itself propagate.
  Outcome Run(std::string_view step);

  // The instance of a window class, if a step has named it.
  WindowSteps* Instance(std::string_view className) const;
  // Writes DIR/<WindowClass>.tsv for each instance whose window has a grid: one line per
  // grid row, the texts of its columns separated by TAB, LF line ends.
  void WriteGrids(const std::filesystem::path& dir) const;

 private:
  struct Parsed;
  struct OpenWindow;
  OpenWindow& Open(const WindowSpec& layout);

  const WindowRegistry& registry_;
  StepHost& host_;
  WindowContext context_;
  std::vector<std::unique_ptr<OpenWindow>> instances_;  // in the order created
};

// A grid as text: one line per row, cells separated by TAB, LF after each row.
std::string GridText(const TextGrid& grid);

// Every step a click runs, with the caption of its control: "Window.Command1_Click",
// "RA(レース）"; a list's click as "Window.List1_Click=ENTRY".
struct StepName {
  std::string name;
  std::string_view caption;
};
std::vector<StepName> ClickSteps(const WindowRegistry& registry);

}  // namespace meridax
