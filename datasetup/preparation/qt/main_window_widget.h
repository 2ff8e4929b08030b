#pragma once

#include "datasetup/preparation/main_window_steps.h"
#include "platform/qt/form_widget.h"

namespace meridax {

// The start-up window of datasetup over kMainWindow: one button per step, the two buttons
// that open the run-history and category windows (the windows registered for datasetup),
// Command16 without a procedure, and the status box Text1.
class FormMERIDAXPROJECTSETUP2025ZZ : public FormWidget {
 public:
  FormMERIDAXPROJECTSETUP2025ZZ();
  MainWindowSteps& steps() { return static_cast<MainWindowSteps&>(FormWidget::steps()); }
};

// The windows of datasetup, registered once for the program.
const WindowRegistry& DatasetupWindows();

}  // namespace meridax
