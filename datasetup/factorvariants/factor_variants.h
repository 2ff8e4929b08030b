#pragma once

// The earlier versions of the category window's item routines: each computes another code
// for its item slot, on the same context as the live routines, and no step calls it.

#include <string>

#include "datasetup/factors/item_context.h"

namespace meridax {

std::string Factor01var1(ItemContext& c);
std::string Factor01var2(ItemContext& c);
std::string Factor01var3(ItemContext& c);
std::string Factor01var4(ItemContext& c);
std::string Factor01var5(ItemContext& c);
std::string Factor02var1(ItemContext& c);
std::string Factor02var2(ItemContext& c);
std::string Factor02var3(ItemContext& c);
std::string Factor02var4(ItemContext& c);
std::string Factor03original(ItemContext& c);
std::string Factor03Agari(ItemContext& c);
std::string Factor03var1(ItemContext& c);
std::string Factor04var1(ItemContext& c);
std::string Factor05var1(ItemContext& c);
std::string Factor05var2(ItemContext& c);
std::string Factor05var3(ItemContext& c);
std::string Factor06var1(ItemContext& c);
std::string Factor06var2(ItemContext& c);
std::string Factor06var3(ItemContext& c);
std::string Factor06var4(ItemContext& c);
std::string Factor07var1(ItemContext& c);
std::string Factor07var2(ItemContext& c);
std::string Factor07var3(ItemContext& c);
std::string Factor08var1(ItemContext& c);
std::string Factor08var2(ItemContext& c);
std::string Factor08var3(ItemContext& c);
std::string Factor08var4(ItemContext& c);
std::string Factor08var5(ItemContext& c);
std::string Factor08var6(ItemContext& c);
std::string Factor08var7(ItemContext& c);
std::string Factor09var1(ItemContext& c);
std::string Factor10var1(ItemContext& c);
std::string Factor11var1(ItemContext& c);
std::string Factor13var1(ItemContext& c);
std::string Factor13var2(ItemContext& c);
std::string Factor13var3(ItemContext& c);
std::string Factor13var4(ItemContext& c);
std::string Factor13var5(ItemContext& c);
std::string Factor14var1(ItemContext& c);
std::string Factor15var1(ItemContext& c);
std::string Factor15var2(ItemContext& c);
std::string Factor15var3(ItemContext& c);
std::string Factor15var4(ItemContext& c);
std::string Factor15var5(ItemContext& c);
std::string Factor16var1(ItemContext& c);
std::string Factor16var2(ItemContext& c);
std::string Factor16var3(ItemContext& c);
std::string Factor16var4(ItemContext& c);
std::string Factor17var1(ItemContext& c);
std::string Factor17var2(ItemContext& c);
std::string Factor17var3(ItemContext& c);
std::string Factor17var4(ItemContext& c);
std::string Factor17var5(ItemContext& c);
std::string Factor17var6(ItemContext& c);
std::string Factor17var7(ItemContext& c);
std::string Factor17var8(ItemContext& c);
std::string Factor17var9(ItemContext& c);
std::string Factor17var10(ItemContext& c);
std::string Factor17var11(ItemContext& c);
std::string Factor17var12(ItemContext& c);
std::string Factor18var1(ItemContext& c);
std::string Factor18var2(ItemContext& c);
std::string Factor19var1(ItemContext& c);
std::string Factor19var2(ItemContext& c);
std::string Factor20var1(ItemContext& c);
std::string Factor20var2(ItemContext& c);
std::string Factor20var3(ItemContext& c);
std::string Factor20var4(ItemContext& c);
std::string Factor20var5(ItemContext& c);
std::string Factor22var1(ItemContext& c);
std::string Factor22ori2(ItemContext& c);
std::string Factor22var2(ItemContext& c);
std::string Factor23Original(ItemContext& c);
std::string Factor23var1(ItemContext& c);
std::string Factor23var2(ItemContext& c);
std::string Factor23var3(ItemContext& c);
std::string Factor23var4(ItemContext& c);
std::string Factor23var5(ItemContext& c);
std::string Factor23var6(ItemContext& c);
std::string Factor24var1(ItemContext& c);
std::string Factor24var2(ItemContext& c);
std::string Factor25var1(ItemContext& c);
std::string Factor25var2(ItemContext& c);
std::string Factor25var3(ItemContext& c);
std::string Factor25var4(ItemContext& c);
std::string Factor26var1(ItemContext& c);
std::string Factor27var1(ItemContext& c);
std::string Factor27var2(ItemContext& c);
std::string Factor28var1(ItemContext& c);
std::string Factor29var1(ItemContext& c);
std::string Factor29var2(ItemContext& c);
std::string Factor29var3(ItemContext& c);
std::string Factor29var4(ItemContext& c);
std::string Factor29var5(ItemContext& c);
std::string Factor30var1(ItemContext& c);
std::string Factor30var2(ItemContext& c);
std::string Factor30var3(ItemContext& c);
std::string Factor30var4(ItemContext& c);
std::string Factor30var5(ItemContext& c);

// The root of the female line of the mare of AncestorBlocks element 6 of CurrentRun: the
// last matching mare of the window's table that has one; "00000000" for none.
std::string FindFemaleLineRoot(ItemContext& c);

// The Soha and Pace weight sums on the run in CurrentRun, after the categorisation of the
// record under construction; for the probe each returns its three totals, turf, dirt and
// jump, as text.
std::string SumSohaWeights(ItemContext& c);
std::string SumPaceWeights(ItemContext& c);
std::string SumPaceWeights2(ItemContext& c);

}  // namespace meridax
