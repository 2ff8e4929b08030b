#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/list_model.h"
#include "platform/step_host.h"
#include "platform/text_grid.h"

namespace meridax {

// A control's place in its window (or in its frame), in twips.
struct TwipsBox {
  int left = 0, top = 0, width = 0, height = 0;
};

enum class ControlKind { kButton, kOptionButton, kTextBox, kLabel, kFrame, kListBox, kGrid };

// The widget-free state of one window. A window's steps class derives from it and adds its
// own tables; the inputs and outputs that controls show live here, so a handler runs the
// same with a display or without one. The window copies what the operator typed or chose
// into these fields before a handler and shows them again after it.
class WindowSteps {
 public:
  virtual ~WindowSteps() = default;

  std::string text1;    // Text1: what the operator typed, and the status line the steps set
  int option = 0;       // the selected option button (1 for Option1), 0 while none is
  ListModel list;       // List1: its entries and the one selected
  TextGrid grid{1, 1};  // the window's grid, sized from its control row at creation

  // Text1 is both the operator's input and the steps' status line, and the same words can be
  // either: what the operator types stops being a step's status even when it reads as one.
  void TypeText1(std::string text);
  // A step's status into Text1.
  void ShowStepStatus(std::string_view text);
  // Whether Text1 still holds the status a step of this window last wrote there, untyped.
  bool Text1IsStepStatus() const;

 private:
  std::optional<std::string> stepStatus_;
};

// A procedure of a window. Steps classes declare theirs as methods; Procedure<&X::M>
// adapts a method to this form. A method may return nothing, a StepResult, or its status
// text (which then becomes Text1).
using Handler = StepResult (*)(WindowSteps&, StepHost&);

template <auto Method>
StepResult Procedure(WindowSteps& steps, StepHost& host) {
  using Traits = decltype(Method);
  auto call = [&]<typename S, typename R>(R (S::*)(StepHost&)) -> StepResult {
    S& self = static_cast<S&>(steps);
    if constexpr (std::is_void_v<R>) {
      (self.*Method)(host);
      return StepResult::kOk;
    } else if constexpr (std::is_same_v<R, StepResult>) {
      return (self.*Method)(host);
    } else {
      const std::string status = (self.*Method)(host);
      host.SetStatus(status);
      return StepResult::kOk;
    }
  };
  return call(Traits(Method));
}

struct ControlSpec {
  std::string_view name;  // "Command1"; its click procedure is "Command1_Click"
  ControlKind kind;
  std::string_view caption;  // a button's caption, or a text box's initial text
  TwipsBox box;
  Handler click = nullptr;  // what a click runs; none: a click does nothing
  // The handler runs in the step frame: a file that cannot be read or written ends it with
  // the status "<caption> エラー: <what failed>" instead of stopping the program.
  bool errorRule = false;
  // A button that opens a new instance of this window class, modeless and without owner.
  std::string_view opens = {};
  std::string_view frame = {};  // the frame that holds the control; its box is inside it
  int rows = 0, cols = 0;       // a grid's size; it has one fixed row and one fixed column
};

// What a window's steps get from the program that opens the window.
struct WindowContext {
  // Where a window without a display prints what only a display would show (the download's
  // progress, the folder of the settings dialog).
  std::ostream* out = nullptr;
};

// One window: its class, caption, client size, the factory of its steps class and its
// controls. Adding a window to a program is one such table and one registration.
struct WindowSpec {
  std::string_view className;
  std::string_view caption;
  int width = 0, height = 0;  // client area, twips
  std::unique_ptr<WindowSteps> (*create)(const WindowContext&) = nullptr;
  std::span<const ControlSpec> controls;
  Handler load = nullptr;  // Form_Load, run once when an instance is created
};

template <typename Steps>
std::unique_ptr<WindowSteps> Create(const WindowContext&) {
  return std::make_unique<Steps>();
}

const ControlSpec* FindControl(const WindowSpec& layout, std::string_view name);
// The control whose click procedure this is ("Command1_Click"), if it has one.
const ControlSpec* FindProcedure(const WindowSpec& layout, std::string_view procedure);
// "Option2" is the second option button of the window: the value of WindowSteps::option.
int OptionNumber(const WindowSpec& layout, std::string_view control);

// A new instance of the window's steps, its inputs as the controls start (Text1's initial
// text, the grid's size). Form_Load has not run yet.
std::unique_ptr<WindowSteps> NewSteps(const WindowSpec& layout, const WindowContext& context);

// Runs one handler of a window: its status goes to the window's Text1 and to `host`; with
// the error rule a file failure becomes its status (RunStep). Other failures propagate to
// the caller, which tells the operator.
StepResult RunHandler(Handler handler, std::string_view caption, bool errorRule, WindowSteps& steps,
                      StepHost& host);
StepResult RunControl(const ControlSpec& control, WindowSteps& steps, StepHost& host);

// Runs the window's Form_Load, when it has one, once the commits that an ended process left
// half done are finished, so a window never loads files that a commit replaced only in part,
// and holding the data folder against other programs' commits while it reads. A wait for one
// shows in `waits` (the window whose button opens this one, which is not shown yet while it
// loads), else in Text1. Failures propagate, the completion's (IoError) as the load's own.
void LoadWindow(const WindowSpec& layout, WindowSteps& steps, StepHost& host,
                StepHost* waits = nullptr);

// The step frame: runs a body that returns its status text, once the commits that an ended
// process left half done are finished, holding the data folder against other programs'
// commits while it runs (platform/data_folder_lock.h). When it throws IoError (a missing
// folder, a file that cannot be read or written), it has written nothing that
// replaces an earlier file (steps stage their outputs, platform/staged_files.h), and the
// status becomes the caption, " エラー: " and what failed with its path.
StepResult RunStep(StepHost& host, std::string_view caption,
                   const std::function<std::string()>& body);

// The windows of one program, by class name, in the order registered.
class WindowRegistry {
 public:
  void Add(const WindowSpec& layout);
  // Registers `layout` unless its class is registered already (a stand-in gives way).
  void AddUnlessRegistered(const WindowSpec& layout);
  const WindowSpec* Find(std::string_view className) const;
  const std::vector<const WindowSpec*>& Windows() const { return windows_; }

 private:
  std::vector<const WindowSpec*> windows_;
};

}  // namespace meridax
