#include "datasetup/factors/probe.h"

#include <ostream>
#include <stdexcept>

#include "datasetup/factors/category_steps.h"
#include "platform/io_error.h"
#include "platform/numbers.h"

namespace meridax {

void ProbeRegistry::Add(std::span<const ProbeRoutine> table) {
  for (const ProbeRoutine& r : table) {
    if (!routines_.emplace(std::string(r.name), r).second) {
      throw std::logic_error("probe routine registered twice");
    }
  }
}

const ProbeRoutine* ProbeRegistry::Find(std::string_view name) const {
  const auto it = routines_.find(name);
  return it == routines_.end() ? nullptr : &it->second;
}

std::vector<ProbeRoutine> LiveProbeRoutines() {
  const std::span<const LiveRoutine> live = LiveRoutines();
  std::vector<ProbeRoutine> table;
  for (std::size_t i = 0; i < live.size(); ++i) {
    table.push_back({live[i].name, live[i].routine, StoredField(live, i)});
  }
  return table;
}

int RunProbe(const ProbeRegistry& registry, std::span<const std::string> args, std::ostream& out,
             std::ostream& err) {
  if (args.size() < 3) {
    err << "usage: meridax-run [--drive DIR] --probe HORSEID RUN ROUTINE...\n";
    return 2;
  }
  const auto run = ToInt32(args[1]);
  if (!run || args[1].find_first_not_of("0123456789") != std::string::npos) {
    err << "meridax-run: RUN must be a record number, not " << args[1] << '\n';
    return 2;
  }
  std::vector<const ProbeRoutine*> routines;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const ProbeRoutine* r = registry.Find(args[i]);
    if (!r) {
      err << "meridax-run: unknown routine " << args[i] << '\n';
      return 2;
    }
    routines.push_back(r);
  }
  RecordingHost host([&err](std::string_view, std::string_view text) { err << text << '\n'; });
  const std::unique_ptr<WindowSteps> steps = NewSteps(kCategoryWindow, WindowContext{});
  auto& window = static_cast<CategorySteps&>(*steps);
  try {
    LoadWindow(kCategoryWindow, window, host);
    window.Probe(args[0], *run, routines, out);
  } catch (const IoError& e) {
    err << "meridax-run: " << e.what() << '\n';
    return 1;
  } catch (const std::invalid_argument& e) {
    err << "meridax-run: " << e.what() << '\n';
    return 2;
  }
  return 0;
}

}  // namespace meridax
