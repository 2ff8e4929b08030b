// The run-history window with a display: opened from the main window, a grid after the
// operator chooses an entry, and clicks while "計算" lets the message loop run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <string>
#include <vector>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/preparation/qt/main_window_widget.h"
#include "datasetup/runhistory/run_history_steps.h"
#include "platform/file_ops.h"
#include "tests/runhistory/run_history_fixtures.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using namespace testing;
namespace x = extended_run;

std::vector<FormWidget*> RunHistoryWindows() {
  std::vector<FormWidget*> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "FormMERIDAXEXPDSETUP2025ZZ" && w->isVisible()) {
      windows.push_back(dynamic_cast<FormWidget*>(w));
    }
  }
  return windows;
}

void CloseAllBut(QWidget* keep) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w != keep) w->close();
  }
}

// Input as the window system delivers it: stamped with the time it was made, later than
// the end of the step before it (the gate ignores input made while a step ran).
template <typename Event>
void Deliver(QWidget* to, Event& event) {
  QThread::msleep(5);
  event.setTimestamp(static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()));
  QApplication::sendEvent(to, &event);
}

void MouseClick(QListView* view, int row) {
  const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
  for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    Deliver(view->viewport(), event);
  }
}

void KeyDown(QListView* view) {
  view->setFocus();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  Deliver(view, press);
}

std::string Runs(int n) {
  std::string bytes;
  for (int k = 1; k <= n; ++k) {
    bytes += MakeRecord(kExtendedRunLength, {{x::RaceYear, "200" + std::to_string(k)}});
  }
  return bytes;
}

TEST(RunHistoryWindowTest, EveryClickOfTheMainWindowOpensANewWindow) {
  TempDrive drive;
  FormMERIDAXPROJECTSETUP2025ZZ main;
  main.show();
  main.Button("Command9")->click();
  main.Button("Command9")->click();
  const auto windows = RunHistoryWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_NE(&windows[0]->steps(), &windows[1]->steps());  // each its own state
  for (FormWidget* w : windows) {
    EXPECT_EQ(w->windowTitle().toStdString(), "MERIDAXEXPDSETUP2024");
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_EQ(w->Button("Command1")->text().toStdString(), "計算");
    EXPECT_EQ(w->Button("Command2")->text().toStdString(), "表示");
    EXPECT_EQ(w->steps().grid.Rows(), 129);
    EXPECT_EQ(w->steps().grid.Cols(), 3);
    // Its load ran: without the sale file it says so and opens.
    EXPECT_EQ(w->Text1()->text().toStdString(), "HS20180101.dat がありません");
  }
  CloseAllBut(&main);
}

TEST(RunHistoryWindowTest, ChoosingAnEntryShowsItsRuns) {
  TempDrive drive;
  WriteFile(ExtendedFileOf(drive.data(), "2002100001"), Runs(3));
  WriteFile(ExtendedFileOf(drive.data(), "2002100002"), Runs(1));
  WriteIdList(drive.data() / "KETTONUM20180101Q.dat", {"2002100001", "2002100002"});
  FormWidget window(kRunHistoryWindow, &DatasetupWindows());
  window.show();
  window.Button("Command2")->click();
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり");
  ASSERT_EQ(window.List1()->model()->rowCount(), 2);

  MouseClick(window.List1(), 0);
  EXPECT_EQ(window.steps().grid.Cols(), 4);
  EXPECT_EQ(window.Grid()->model()->columnCount(), 3);
  EXPECT_EQ(window.steps().grid.TextMatrix(4, 1), "2003    ");
  // The keyboard moves the choice too.
  KeyDown(window.List1());
  EXPECT_EQ(window.steps().list.Selected(), 1);
  EXPECT_EQ(window.steps().grid.Cols(), 2);
  // A click on the entry already chosen shows it again, as the file now stands.
  WriteFile(ExtendedFileOf(drive.data(), "2002100002"), Runs(2));
  MouseClick(window.List1(), 1);
  EXPECT_EQ(window.steps().grid.Cols(), 3);
}

TEST(RunHistoryWindowTest, ClicksWhileTheBuilderRunsAreIgnored) {
  TempDrive drive;
  WriteRecords(RaceFileOf(drive.data(), "2014100001"),
               {Runner({{records::se::HorseId, "2014100001"}})});
  WriteIdList(drive.data() / "KETTONUM20180101.dat", {"2014100001"});
  WriteIdList(drive.data() / "KETTONUM20180101Q.dat", {"2014100001"});
  FormMERIDAXPROJECTSETUP2025ZZ main;
  main.show();
  main.Button("Command9")->click();
  ASSERT_EQ(RunHistoryWindows().size(), 1u);
  FormWidget& window = *RunHistoryWindows()[0];

  bool clickedInside = false;
  QTimer::singleShot(0, &window, [&] {
    clickedInside = true;
    window.Button("Command2")->click();
    main.Button("Command1")->click();
    main.Button("Command9")->click();
  });
  window.Button("Command1")->click();
  ASSERT_TRUE(clickedInside);
  EXPECT_EQ(window.Text1()->text().toStdString(), "終わり");
  EXPECT_FALSE(FileExists(drive.data() / "KIJUNTIME.dat"));
  EXPECT_FALSE(FileExists(drive.data() / "RA20190101NEW.dat"));
  EXPECT_EQ(RunHistoryWindows().size(), 1u);
  EXPECT_EQ(window.List1()->model()->rowCount(), 0);
  // Once it has ended, the same click runs.
  window.Button("Command2")->click();
  EXPECT_TRUE(FileExists(drive.data() / "KIJUNTIME.dat"));
  CloseAllBut(&main);
}

// "計算" lets the message loop run between horses; the operator closes the window meanwhile.
TEST(RunHistoryWindowTest, AWindowClosedWhileItBuildsGoesOnceTheBuildIsCommitted) {
  TempDrive drive;
  const std::vector<std::string> ids = {"2014100001", "2014100002", "2014100003"};
  for (const std::string& id : ids) {
    WriteRecords(RaceFileOf(drive.data(), id), {Runner({{records::se::HorseId, id}})});
  }
  WriteIdList(drive.data() / "KETTONUM20180101.dat", ids);
  FormMERIDAXPROJECTSETUP2025ZZ main;
  main.show();
  main.Button("Command9")->click();
  ASSERT_EQ(RunHistoryWindows().size(), 1u);
  QPointer<FormWidget> window = RunHistoryWindows()[0];
  ASSERT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
  // As the close box does: the window system's request, delivered by the message loop.
  QTimer::singleShot(0,
                     [&] { QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent); });
  window->Button("Command1")->click();
  ASSERT_FALSE(window.isNull());
  EXPECT_EQ(window->Text1()->text().toStdString(), "終わり");
  EXPECT_FALSE(window->isVisible());
  for (const std::string& id : ids) EXPECT_TRUE(FileExists(ExtendedFileOf(drive.data(), id)));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(drive.data())) {
    EXPECT_EQ(entry.path().filename().string().find(".stage"), std::string::npos) << entry.path();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(main.isVisible());
}

}  // namespace
}  // namespace meridax
