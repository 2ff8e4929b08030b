// The live routines in the order the factor item steps call them.

#include "datasetup/factors/factor_items.h"

namespace meridax {

std::span<const LiveRoutine> LiveRoutines() {
  static constexpr LiveRoutine kRoutines[] = {
      {0, "AgariSpeed", &AgariSpeed}, {0, "PaceSpeed", &PaceSpeed}, {0, "SohaSpeed", &SohaSpeed},
      {1, "Factor01", &Factor01},     {2, "Factor02", &Factor02},   {3, "Factor03", &Factor03},
      {4, "Factor04", &Factor04},     {5, "Factor05", &Factor05},   {6, "Factor06", &Factor06},
      {7, "Factor07", &Factor07},     {8, "Factor08", &Factor08},   {9, "Factor09", &Factor09},
      {10, "Factor10", &Factor10},    {11, "Factor11", &Factor11},  {12, "Factor12", &Factor12},
      {13, "Factor13", &Factor13},    {14, "Factor14", &Factor14},  {15, "Factor15", &Factor15},
      {16, "Factor16", &Factor16},    {17, "Factor17", &Factor17},  {18, "Factor18", &Factor18},
      {19, "Factor19", &Factor19},    {20, "Factor20", &Factor20},  {21, "Factor21", &Factor21},
      {22, "Factor22", &Factor22},    {23, "Factor23", &Factor23},  {24, "Factor24", &Factor24},
      {25, "Factor25", &Factor25},    {26, "Factor26", &Factor26},  {27, "Factor27", &Factor27},
      {28, "Factor28", &Factor28},    {29, "Factor29", &Factor29},  {30, "Factor30", &Factor30},
  };
  return kRoutines;
}

}  // namespace meridax
