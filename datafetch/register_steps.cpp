#include "datafetch/register_steps.h"

#include <iostream>
#include <memory>

#include "datafetch/main_window.h"
#include "datafetch/progress_window.h"
#include "platform/jvlink/folder_jvlink.h"

namespace meridax {
namespace {

// One main window with its component for the life of the registry's user.
struct HeadlessDatafetch {
  explicit HeadlessDatafetch(std::ostream& out)
      : jvlink(Options(out)),
        progress([&out](std::string_view label) { out << label << std::endl; }),
        window(jvlink, progress) {}

  static jvlink::FolderJVLinkOptions Options(std::ostream& out) {
    jvlink::FolderJVLinkOptions options;
    options.dialog = [&out](const std::string& current) -> std::optional<std::string> {
      out << current << std::endl;
      return std::nullopt;
    };
    return options;
  }

  jvlink::FolderJVLink jvlink;
  datafetch::HeadlessProgressShower progress;
  datafetch::MainWindow window;
};

}  // namespace

void RegisterDatafetchSteps(StepRegistry& registry) {
  RegisterDatafetchSteps(registry, std::cout);
}

void RegisterDatafetchSteps(StepRegistry& registry, std::ostream& out) {
  auto state = std::make_shared<HeadlessDatafetch>(out);
  registry.Add("KOVF1SETUP19Z1.Command1_Click",
               [state](StepHost& host) { return state->window.Command1_Click(host); });
  registry.Add("KOVF1SETUP19Z1.Command2_Click",
               [state](StepHost& host) { return state->window.Command2_Click(host); });
  registry.Add("KOVF1SETUP19Z1.Command3_Click",
               [state](StepHost& host) { return state->window.Command3_Click(host); });
}

}  // namespace meridax
