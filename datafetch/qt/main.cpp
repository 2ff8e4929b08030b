// datafetch: downloads the setup data of the racing data service into the raw record
// files of C:\MERIDAXPROJECT\.

#include "datafetch/qt/main_window_widget.h"
#include "platform/qt/program_start.h"

int main(int argc, char** argv) {
  meridax::QtProgram program(argc, argv);
  meridax::datafetch::MainWindowWidget window;
  window.show();
  return program.app().exec();
}
