#pragma once

// The live item routines of the category window and its speed figures: each reads the run
// under work through the context and returns its code, or throws ItemAbandoned.

#include <span>
#include <string>

#include "datasetup/factors/item_context.h"
#include "datasetup/factors/item_toolkit.h"

namespace meridax {

// Speed figures: the SpeedFigure code of a speed in km/h (seven characters).
std::string AgariSpeed(ItemContext& c);
std::string PaceSpeed(ItemContext& c);
std::string SohaSpeed(ItemContext& c);

std::string Factor01(ItemContext& c);
std::string Factor02(ItemContext& c);
std::string Factor03(ItemContext& c);
std::string Factor04(ItemContext& c);
std::string Factor05(ItemContext& c);
std::string Factor06(ItemContext& c);
std::string Factor07(ItemContext& c);
std::string Factor08(ItemContext& c);
std::string Factor09(ItemContext& c);
std::string Factor10(ItemContext& c);
std::string Factor11(ItemContext& c);
std::string Factor12(ItemContext& c);
std::string Factor13(ItemContext& c);
std::string Factor14(ItemContext& c);
std::string Factor15(ItemContext& c);
std::string Factor16(ItemContext& c);
std::string Factor17(ItemContext& c);
std::string Factor18(ItemContext& c);
std::string Factor19(ItemContext& c);
std::string Factor20(ItemContext& c);
std::string Factor21(ItemContext& c);
std::string Factor22(ItemContext& c);
std::string Factor23(ItemContext& c);
std::string Factor24(ItemContext& c);
std::string Factor25(ItemContext& c);
std::string Factor26(ItemContext& c);
std::string Factor27(ItemContext& c);
std::string Factor28(ItemContext& c);
std::string Factor29(ItemContext& c);
std::string Factor30(ItemContext& c);

// The live routines in the order the factor steps call them: the three speed figures
// (slot 0), then items 1 to 30 by slot. The probe finds them by name.
struct LiveRoutine {
  int slot;  // 1 to 30 for items; 0 for a speed figure
  std::string_view name;
  ItemRoutine routine;
};
std::span<const LiveRoutine> LiveRoutines();

}  // namespace meridax
