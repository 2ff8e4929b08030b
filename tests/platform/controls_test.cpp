#include "platform/qt/controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "platform/qt/widget_host.h"

namespace meridax {
namespace {

int argc = 1;
char arg0[] = "test";
char* argv[] = {arg0, nullptr};

TEST(ControlsTest, ProgressBarClampsValueIntoItsRange) {
  QApplication app(argc, argv);
  QProgressBar bar;
  ProgressBarControl control(&bar);
  control.SetMax(12);
  control.SetMin(0);
  control.SetValue(15);
  EXPECT_EQ(control.Value(), 15);  // the property keeps what was set
  EXPECT_EQ(bar.value(), 12);
  control.SetValue(-4);
  EXPECT_EQ(bar.value(), 0);

  QTableWidget table;
  GridControl grid(&table, 129, 3);
  grid.SetTextMatrix(1, 2, "芝");
  grid.SetColWidth(1, 1500);
  EXPECT_EQ(grid.TextMatrix(1, 2), "芝");
  EXPECT_EQ(table.columnWidth(1), 100);
  grid.SetCols(5);
  EXPECT_EQ(grid.Cols(), 5);

  QWidget window;
  QLineEdit box(&window);
  WidgetStepHost host(&window, &box);
  host.SetStatus("RA 終わり  0");
  EXPECT_EQ(host.Status(), "RA 終わり  0");
  bool nestedRan = false;
  EXPECT_TRUE(StepGate::Run([&] { nestedRan = StepGate::Run([] {}); }));
  EXPECT_FALSE(nestedRan);  // a click during a running step is ignored
  EXPECT_FALSE(StepGate::Busy());
}

}  // namespace
}  // namespace meridax
