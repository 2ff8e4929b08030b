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

}  // namespace meridax
