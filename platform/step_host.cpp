#include "platform/step_host.h"

#include <stdexcept>

namespace meridax {

void RecordingHost::SetStatus(std::string_view text) {
  status_ = text;
  statusHistory_.emplace_back(text);
  if (sink_) sink_("status", text);
}

void RecordingHost::ShowMessage(std::string_view text) {
  messages_.emplace_back(text);
  if (sink_) sink_("message", text);
}

void StepRegistry::Add(std::string name, Step step) {
  if (!steps_.emplace(std::move(name), std::move(step)).second) {
    throw std::logic_error("step registered twice");
  }
}

const StepRegistry::Step* StepRegistry::Find(std::string_view name) const {
  const auto it = steps_.find(name);
  return it == steps_.end() ? nullptr : &it->second;
}

std::vector<std::string> StepRegistry::Names() const {
  std::vector<std::string> names;
  for (const auto& [name, step] : steps_) names.push_back(name);
  return names;
}

}  // namespace meridax
