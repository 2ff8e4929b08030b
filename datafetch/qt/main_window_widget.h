#pragma once

#include <QLineEdit>
#include <QPushButton>

#include "datafetch/main_window_steps.h"
#include "datafetch/qt/progress_window_widget.h"
#include "platform/jvlink/folder_jvlink.h"
#include "platform/qt/form_widget.h"

namespace meridax::datafetch {

// KOVF1SETUP19Z1 ("KOVF1C：メイン"), the program's start-up window: kMainWindow over
// MainWindow, with the component as its control JVLink1, its settings dialog, its messages
// and the progress window shown over this window.
class MainWindowWidget : public FormWidget {
 public:
  explicit MainWindowWidget(jvlink::FolderJVLinkOptions options = {});

  MainWindow& Steps() { return static_cast<MainWindow&>(steps()); }
  QPushButton* Command1() const { return Button("Command1"); }
  QPushButton* Command2() const { return Button("Command2"); }
  QPushButton* Command3() const { return Button("Command3"); }

 private:
  static std::unique_ptr<WindowSteps> NewSteps(jvlink::FolderJVLinkOptions options,
                                               MainWindowWidget* window);
};

}  // namespace meridax::datafetch
