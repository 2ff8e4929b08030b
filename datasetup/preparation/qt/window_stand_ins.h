#pragma once

#include <QWidget>

namespace meridax {

// Stand-ins for the run-history and category windows until they are built: the right
// class, caption and object name, and a line saying the window is not built yet.
class FormMERIDAXEXPDSETUP2025ZZ : public QWidget {
 public:
  FormMERIDAXEXPDSETUP2025ZZ();
};

class FormCATEGORYSETUP2025ZP : public QWidget {
 public:
  FormCATEGORYSETUP2025ZP();
};

}  // namespace meridax
