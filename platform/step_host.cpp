#include "platform/step_host.h"

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

}  // namespace meridax
