// datasetup: the preparation program. It starts with its main window; nothing runs until
// a button is clicked.

#include <QApplication>

#include "datasetup/preparation/qt/main_window_widget.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  meridax::FormMERIDAXPROJECTSETUP2025ZZ window;
  window.show();
  return app.exec();
}
