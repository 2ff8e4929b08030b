#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "datafetch/main_window.h"
#include "datafetch/qt/progress_dialog.h"
#include "platform/jvlink/folder_jvlink.h"
#include "platform/qt/widget_host.h"

namespace meridax::datafetch {

// KOVF1SETUP19Z1 ("KOVF1C：メイン"), the program's start-up window: a thin shell over
// MainWindow, with the component as its control JVLink1.
class MainWindowWidget : public QWidget {
 public:
  explicit MainWindowWidget(jvlink::FolderJVLinkOptions options = {});

  MainWindow& Steps() { return steps_; }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }
  QPushButton* Command3() const { return command3_; }
  QLineEdit* Text1() const { return text1_; }

 private:
  static jvlink::FolderJVLinkOptions WithDialog(jvlink::FolderJVLinkOptions options,
                                                QWidget* parent);

  QPushButton* command1_;
  QPushButton* command2_;
  QPushButton* command3_;
  QLineEdit* text1_;
  WidgetStepHost host_;
  jvlink::FolderJVLink jvlink1_;
  QtProgressShower progress_;
  MainWindow steps_;
};

}  // namespace meridax::datafetch
