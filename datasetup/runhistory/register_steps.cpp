#include "datasetup/runhistory/register_steps.h"

#include <memory>
#include <string>

#include "datasetup/runhistory/run_history_steps.h"

namespace meridax {

void RegisterRunHistorySteps(StepRegistry& registry) {
  struct Window {
    RunHistorySteps steps;
    bool loaded = false;
  };
  auto window = std::make_shared<Window>();
  const auto add = [&](std::string_view procedure, StepResult (RunHistorySteps::*step)(StepHost&)) {
    registry.Add(std::string(kRunHistoryWindowClass) + "." + std::string(procedure),
                 [window, step](StepHost& host) {
                   if (!window->loaded && step != &RunHistorySteps::Form_Load) {
                     window->steps.Form_Load(host);
                   }
                   window->loaded = true;
                   return (window->steps.*step)(host);
                 });
  };
  add("Form_Load", &RunHistorySteps::Form_Load);
  add("Command1_Click", &RunHistorySteps::Command1_Click);
  add("Command2_Click", &RunHistorySteps::Command2_Click);
}

}  // namespace meridax
