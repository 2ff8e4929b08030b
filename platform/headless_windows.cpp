#include "platform/headless_windows.h"

#include <cerrno>
#include <fstream>
#include <optional>

#include "platform/io_error.h"

namespace meridax {

struct HeadlessWindows::OpenWindow {
  const WindowSpec* layout;
  std::unique_ptr<WindowSteps> steps;
};

// One step taken apart: "Window.Procedure" or "Window.Procedure=TEXT".
struct HeadlessWindows::Parsed {
  enum class Kind { kClick, kSetText, kSelectOption, kListClick };
  const WindowSpec* layout = nullptr;
  const ControlSpec* control = nullptr;
  Kind kind = Kind::kClick;
  std::string text;

  static std::optional<Parsed> Of(const WindowRegistry& registry, std::string_view step) {
    const auto dot = step.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    Parsed p;
    p.layout = registry.Find(step.substr(0, dot));
    if (!p.layout) return std::nullopt;
    std::string_view procedure = step.substr(dot + 1);
    const auto eq = procedure.find('=');
    if (eq != std::string_view::npos) {
      p.text = procedure.substr(eq + 1);
      procedure = procedure.substr(0, eq);
      if (procedure == "List1_Click") {
        p.control = FindProcedure(*p.layout, procedure);
        p.kind = Kind::kListClick;
        if (!p.control || p.control->kind != ControlKind::kListBox) return std::nullopt;
        return p;
      }
      p.control = FindControl(*p.layout, procedure);
      p.kind = Kind::kSetText;
      // The steps hold one text box, Text1.
      if (!p.control || p.control->kind != ControlKind::kTextBox || procedure != "Text1") {
        return std::nullopt;
      }
      return p;
    }
    if (const ControlSpec* option = FindControl(*p.layout, procedure);
        option && option->kind == ControlKind::kOptionButton) {
      p.control = option;
      p.kind = Kind::kSelectOption;
      return p;
    }
    p.control = FindProcedure(*p.layout, procedure);
    // A list click needs the entry it clicks; a button that opens a window needs a display.
    if (!p.control || p.control->kind == ControlKind::kListBox) return std::nullopt;
    return p;
  }
};

HeadlessWindows::HeadlessWindows(const WindowRegistry& registry, StepHost& host,
                                 WindowContext context)
    : registry_(registry), host_(host), context_(context) {}

HeadlessWindows::~HeadlessWindows() = default;

bool HeadlessWindows::Known(std::string_view step) const {
  return Parsed::Of(registry_, step).has_value();
}

HeadlessWindows::OpenWindow& HeadlessWindows::Open(const WindowSpec& layout) {
  for (const auto& instance : instances_) {
    if (instance->layout == &layout) return *instance;
  }
  instances_.push_back(
      std::make_unique<OpenWindow>(OpenWindow{&layout, NewSteps(layout, context_)}));
  OpenWindow& instance = *instances_.back();
  // The instance stays even when its load fails: what it loaded by then is its state.
  LoadWindow(layout, *instance.steps, host_);
  return instance;
}

HeadlessWindows::Outcome HeadlessWindows::Run(std::string_view step) {
  const std::optional<Parsed> p = Parsed::Of(registry_, step);
  if (!p) return Outcome::kUnknown;
  WindowSteps& steps = *Open(*p->layout).steps;
  switch (p->kind) {
    case Parsed::Kind::kSetText:
      steps.TypeText1(p->text);
      return Outcome::kOk;
    case Parsed::Kind::kSelectOption:
      steps.option = OptionNumber(*p->layout, p->control->name);
      return Outcome::kOk;
    case Parsed::Kind::kListClick:
      if (!steps.list.Select(p->text)) return Outcome::kNoSuchEntry;
      break;
    case Parsed::Kind::kClick:
      break;
  }
  return RunControl(*p->control, steps, host_) == StepResult::kOk ? Outcome::kOk : Outcome::kFailed;
}

WindowSteps* HeadlessWindows::Instance(std::string_view className) const {
  for (const auto& instance : instances_) {
    if (instance->layout->className == className) return instance->steps.get();
  }
  return nullptr;
}

std::string GridText(const TextGrid& grid) {
  std::string text;
  for (int r = 0; r < grid.Rows(); ++r) {
    for (int c = 0; c < grid.Cols(); ++c) {
      if (c > 0) text += '\t';
      text += grid.TextMatrix(r, c);
    }
    text += '\n';
  }
  return text;
}

void HeadlessWindows::WriteGrids(const std::filesystem::path& dir) const {
  for (const auto& instance : instances_) {
    bool hasGrid = false;
    for (const ControlSpec& c : instance->layout->controls) hasGrid |= c.kind == ControlKind::kGrid;
    if (!hasGrid) continue;
    const auto path = dir / (std::string(instance->layout->className) + ".tsv");
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << GridText(instance->steps->grid);
    out.close();
    // The stream keeps no cause; errno still holds the one of the call that failed.
    if (!out) throw IoError("書き込めません", path, errno);
  }
}

std::vector<StepName> ClickSteps(const WindowRegistry& registry) {
  std::vector<StepName> steps;
  for (const WindowSpec* w : registry.Windows()) {
    for (const ControlSpec& c : w->controls) {
      if (!c.click) continue;
      // A list click names the entry it clicks.
      const char* form = c.kind == ControlKind::kListBox ? "_Click=ENTRY" : "_Click";
      steps.push_back({std::string(w->className) + "." + std::string(c.name) + form, c.caption});
    }
  }
  return steps;
}

}  // namespace meridax
