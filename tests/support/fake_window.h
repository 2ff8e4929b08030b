#pragma once

#include <functional>
#include <string>

#include "platform/window.h"

namespace meridax::testing {

// A small window as the framework sees one: a button that reads Text1 and the option
// buttons into its grid and adds a list entry, a list whose click copies the selected entry
// into the grid, a button whose step fails on a missing folder, and one that runs `during`
// (so a test can look at the program while a step runs). Its Form_Load fills two entries
// and the fixed corner cell, with a trailing blank, then runs `duringLoad` (a window's steps
// are made as it opens, so that one is shared by all instances).
class FakeSteps : public WindowSteps {
 public:
  void Form_Load(StepHost& host);
  StepResult Command1_Click(StepHost& host);
  std::string Command2_Click(StepHost& host);
  void Command3_Click(StepHost& host);
  void List1_Click(StepHost& host);

  int loads = 0;
  int clicks = 0;      // of Command1
  int listClicks = 0;  // of List1
  std::function<void(StepHost&)> during;
  static inline std::function<void(StepHost&)> duringLoad;
};

// "FormFAKE", 4 x 3 grid "FakeFG"; its Command9 opens a new "FormFAKE".
extern const WindowSpec kFakeWindow;

}  // namespace meridax::testing
