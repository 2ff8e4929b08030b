// datafetch: downloads the setup data of the racing data service into the raw record
// files of C:\MERIDAXPROJECT\.

#include <QApplication>
#include <iostream>
#include <string>

#include "datafetch/qt/main_window_widget.h"
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
  meridax::datafetch::MainWindowWidget window;
  window.show();
  return app.exec();
} catch (...) {
  // The last resort: every handler reports its own failures.
  std::cerr << "datafetch: " << meridax::CurrentFailureText() << '\n';
  return 1;
}
