// datafetch: downloads the setup data of the racing data service into the raw record
// files of C:\MERIDAXPROJECT\.

#include <QApplication>

#include "datafetch/qt/main_window_widget.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  meridax::datafetch::MainWindowWidget window;
  window.show();
  return app.exec();
}
