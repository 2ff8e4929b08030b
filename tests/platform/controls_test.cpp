#include "platform/qt/controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "platform/qt/model_views.h"
#include "platform/qt/widget_host.h"

namespace meridax {
namespace {

TEST(ControlsTest, ProgressBarClampsValueIntoItsRange) {
  QProgressBar bar;
  ProgressBarControl control(&bar);
  control.SetMax(12);
  control.SetMin(0);
  control.SetValue(15);
  EXPECT_EQ(control.Value(), 15);  // the property keeps what was set
  EXPECT_EQ(bar.value(), 12);
  control.SetValue(-4);
  EXPECT_EQ(bar.value(), 0);

  TextGrid grid(129, 3);
  GridView view(grid, nullptr);
  grid.SetTextMatrix(1, 2, "芝");
  grid.SetColWidth(1, 1500);
  view.Refresh();
  EXPECT_EQ(view.Cells().data(view.Cells().index(0, 1), Qt::DisplayRole).toString().toStdString(),
            "芝");
  EXPECT_EQ(view.columnWidth(0), 100);
  grid.SetCols(5);
  view.Refresh();
  EXPECT_EQ(view.Cells().columnCount(), 4);  // column 0 is the fixed column

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
