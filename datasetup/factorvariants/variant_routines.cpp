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
    {"Factor14var1", Factor14var1},
    {"Factor15var1", Factor15var1},
    {"Factor15var2", Factor15var2},
    {"Factor15var3", Factor15var3},
    {"Factor15var4", Factor15var4},
    {"Factor15var5", Factor15var5},
    {"Factor16var1", Factor16var1},
    {"Factor16var2", Factor16var2},
    {"Factor16var3", Factor16var3},
    {"Factor16var4", Factor16var4},
    {"Factor17var1", Factor17var1},
    {"Factor17var2", Factor17var2},
    {"Factor17var3", Factor17var3},
    {"Factor17var4", Factor17var4},
    {"Factor17var5", Factor17var5},
    {"Factor17var6", Factor17var6},
    {"Factor17var7", Factor17var7},
    {"Factor17var8", Factor17var8},
    {"Factor17var9", Factor17var9},
    {"Factor17var10", Factor17var10},
    {"Factor17var11", Factor17var11},
    {"Factor17var12", Factor17var12},
    {"Factor18var1", Factor18var1},
    {"Factor18var2", Factor18var2},
    {"Factor19var1", Factor19var1},
    {"Factor19var2", Factor19var2},
    {"Factor20var1", Factor20var1},
    {"Factor20var2", Factor20var2},
    {"Factor20var3", Factor20var3},
    {"Factor20var4", Factor20var4},
    {"Factor20var5", Factor20var5},
    {"Factor22var1", Factor22var1},
    {"Factor22ori2", Factor22ori2},
    {"Factor22var2", Factor22var2},
    {"Factor23Original", Factor23Original},
    {"Factor23var1", Factor23var1},
    {"Factor23var2", Factor23var2},
    {"Factor23var3", Factor23var3},
    {"Factor23var4", Factor23var4},
    {"Factor23var5", Factor23var5},
    {"Factor23var6", Factor23var6},
    {"Factor24var1", Factor24var1},
    {"Factor24var2", Factor24var2},
    {"Factor25var1", Factor25var1},
    {"Factor25var2", Factor25var2},
    {"Factor25var3", Factor25var3},
    {"Factor25var4", Factor25var4},
    {"Factor26var1", Factor26var1},
    {"Factor27var1", Factor27var1},
    {"Factor27var2", Factor27var2},
    {"Factor28var1", Factor28var1},
    {"Factor29var1", Factor29var1},
    {"Factor29var2", Factor29var2},
    {"Factor29var3", Factor29var3},
    {"Factor29var4", Factor29var4},
    {"Factor29var5", Factor29var5},
    {"Factor30var1", Factor30var1},
    {"Factor30var2", Factor30var2},
    {"Factor30var3", Factor30var3},
    {"Factor30var4", Factor30var4},
    {"Factor30var5", Factor30var5},
    {"FindFemaleLineRoot", FindFemaleLineRoot},
    {"SumSohaWeights", SumSohaWeights},
    {"SumPaceWeights", SumPaceWeights},
    {"SumPaceWeights2", SumPaceWeights2},
};
// clang-format on
}  // namespace

std::span<const NamedRoutine> VariantRoutines() {
  return kVariantRoutines;
}

std::vector<ProbeRoutine> VariantProbeRoutines() {
  std::vector<ProbeRoutine> table;
  for (const NamedRoutine& r : VariantRoutines())
    table.push_back({r.name, r.routine, std::nullopt});
  return table;
}

}  // namespace meridax
