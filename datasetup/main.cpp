// datasetup: the preparation program. It starts with its main window; nothing runs until
// a button is clicked.

#include <QApplication>
#include <iostream>
#include <string>

#include "datasetup/preparation/qt/main_window_widget.h"
#include "platform/io_error.h"
#include "platform/qt/widget_host.h"
#include "platform/staged_files.h"

int main(int argc, char** argv) try {
  QApplication app(argc, argv);
  // A commit that an ended process left half done is finished before a window reads the
  // data folder; the steps try again and report what still fails.
  try {
    meridax::CompleteInterruptedCommits();
  } catch (const meridax::IoError& e) {
    meridax::WidgetStepHost(nullptr, nullptr).ShowMessage(std::string("起動 エラー: ") + e.what());
  }
  meridax::FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();
  return app.exec();
} catch (...) {
  // The last resort: every handler reports its own failures.
  std::cerr << "datasetup: " << meridax::CurrentFailureText() << '\n';
  return 1;
}
