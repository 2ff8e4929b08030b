#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <string_view>

#include "datasetup/preparation/main_window_steps.h"
#include "platform/qt/widget_host.h"

namespace meridax {

// The start-up window of datasetup: one button per step, the two buttons that open the
// run-history and category windows, Command16 without a procedure, and the status box
// Text1. The steps themselves are MainWindowSteps'.
class FormMERIDAXPROJECTSETUP2025ZZ : public QWidget {
 public:
  FormMERIDAXPROJECTSETUP2025ZZ();

  QPushButton* Button(std::string_view control) const;
  QLineEdit* Text1() const { return text1_; }
  MainWindowSteps& steps() { return steps_; }

 private:
  void Command9_Click();
  void Command10_Click();

  MainWindowSteps steps_;
  QLineEdit* text1_;
  WidgetStepHost host_;
};

}  // namespace meridax
