#include "platform/text_grid.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/list_model.h"

namespace meridax {
namespace {

TEST(TextGrid, ColsGrowAndShrinkKeepingCellsAndNeverBelowOne) {
  TextGrid grid(3, 2);
  grid.SetTextMatrix(2, 1, "前 1走  ");
  grid.SetCols(5);
  EXPECT_EQ(grid.TextMatrix(2, 1), "前 1走  ");  // trailing blanks kept
  EXPECT_EQ(grid.TextMatrix(2, 4), "");
  grid.SetTextMatrix(0, 4, "x");
  grid.SetCols(2);
  grid.SetCols(5);
  EXPECT_EQ(grid.TextMatrix(0, 4), "");  // a dropped column comes back empty
  grid.SetCols(0);
  EXPECT_EQ(grid.Cols(), 1);
}

TEST(TextGrid, OutOfRangeFails) {
  TextGrid grid(129, 3);
  EXPECT_THROW(grid.SetTextMatrix(129, 0, "a"), std::out_of_range);
  EXPECT_THROW(grid.TextMatrix(0, 3), std::out_of_range);
  EXPECT_THROW(grid.SetColWidth(-1, 10), std::out_of_range);
  grid.SetColWidth(2, 1500);
  EXPECT_EQ(grid.ColWidth(2), 1500);
}

TEST(ListModel, AppendsSelectsFirstMatch) {
  ListModel list;
  list.AddItem("A.dat");
  list.AddItem("B.dat");
  list.AddItem("A.dat");
  EXPECT_TRUE(list.Select("A.dat"));
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_FALSE(list.Select("C.dat"));
  EXPECT_EQ(list.SelectedText(), "A.dat");
}

}  // namespace
}  // namespace meridax
