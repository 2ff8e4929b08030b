#include "datasetup/preparation/qt/main_window_widget.h"

#include "datasetup/register_windows.h"

namespace meridax {

const WindowRegistry& DatasetupWindows() {
  static const WindowRegistry registry = [] {
    WindowRegistry r;
    RegisterDatasetupWindows(r);
    return r;
  }();
  return registry;
}

FormMERIDAXPROJECTSETUP2025ZZ::FormMERIDAXPROJECTSETUP2025ZZ()
    : FormWidget(kMainWindow, &DatasetupWindows()) {}

}  // namespace meridax
