#include "datasetup/preparation/qt/window_stand_ins.h"

#include <QLabel>
#include <QVBoxLayout>

namespace meridax {
namespace {

void NotBuiltYet(QWidget* window, const char* className, const char* caption) {
  window->setObjectName(className);
  window->setWindowTitle(QString::fromUtf8(caption));
  auto* layout = new QVBoxLayout(window);
  auto* label = new QLabel(QString::fromUtf8("この画面はまだ作られていません。"), window);
  label->setObjectName("NotBuiltYet");
  layout->addWidget(label);
}

}  // namespace

FormMERIDAXEXPDSETUP2025ZZ::FormMERIDAXEXPDSETUP2025ZZ() {
  NotBuiltYet(this, "FormMERIDAXEXPDSETUP2025ZZ", "MERIDAXEXPDSETUP2024");
}

FormCATEGORYSETUP2025ZP::FormCATEGORYSETUP2025ZP() {
  NotBuiltYet(this, "FormCATEGORYSETUP2025ZP", "CATEGORYSETUP20190101SETUPC");
}

}  // namespace meridax
