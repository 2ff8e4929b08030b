#include "datasetup/factorvariants/variant_routines.h"

#include "datasetup/factorvariants/factor_variants.h"

namespace meridax {

namespace {
// clang-format off
constexpr NamedRoutine kVariantRoutines[] = {
    {"Factor01var1", Factor01var1},
    {"Factor01var2", Factor01var2},
    {"Factor01var3", Factor01var3},
    {"Factor01var4", Factor01var4},
    {"Factor01var5", Factor01var5},
    {"Factor02var1", Factor02var1},
    {"Factor02var2", Factor02var2},
    {"Factor02var3", Factor02var3},
    {"Factor02var4", Factor02var4},
    {"Factor03original", Factor03original},
    {"Factor03Agari", Factor03Agari},
    {"Factor03var1", Factor03var1},
    {"Factor04var1", Factor04var1},
    {"Factor05var1", Factor05var1},
    {"Factor05var2", Factor05var2},
    {"Factor05var3", Factor05var3},
    {"Factor06var1", Factor06var1},
    {"Factor06var2", Factor06var2},
    {"Factor06var3", Factor06var3},
    {"Factor06var4", Factor06var4},
    {"Factor07var1", Factor07var1},
    {"Factor07var2", Factor07var2},
    {"Factor07var3", Factor07var3},
    {"Factor08var1", Factor08var1},
    {"Factor08var2", Factor08var2},
    {"Factor08var3", Factor08var3},
    {"Factor08var4", Factor08var4},
    {"Factor08var5", Factor08var5},
    {"Factor08var6", Factor08var6},
    {"Factor08var7", Factor08var7},
    {"Factor09var1", Factor09var1},
    {"Factor10var1", Factor10var1},
    {"Factor11var1", Factor11var1},
    {"Factor13var1", Factor13var1},
    {"Factor13var2", Factor13var2},
    {"Factor13var3", Factor13var3},
    {"Factor13var4", Factor13var4},
    {"Factor13var5", Factor13var5},
};
// clang-format on
}  // namespace

std::span<const NamedRoutine> VariantRoutines() {
  return kVariantRoutines;
}

}  // namespace meridax
