#pragma once

// Every record kind's layout, and the record header they all begin with.

#include <array>
#include <string_view>

#include "records/breeder_owner_sale_layouts.h"
#include "records/horse_layouts.h"
#include "records/layout.h"
#include "records/person_layouts.h"
#include "records/race_layouts.h"

namespace meridax::records {

namespace header {
inline constexpr FieldRef RecordSpec = ra::RecordSpec;
inline constexpr FieldRef DataCategory = ra::DataCategory;
inline constexpr FieldRef CreatedDate = ra::CreatedDate;
}  // namespace header

inline constexpr std::array<const Layout*, 10> kAllLayouts{
    &kRaceLayout,      &kRunnerLayout,  &kHorseLayout,   &kBreedingHorseLayout, &kJockeyLayout,
    &kOffspringLayout, &kTrainerLayout, &kBreederLayout, &kOwnerLayout,         &kMarketSaleLayout};

// The layout of a record kind ("RA", ...), or nullptr for a kind the system does not keep.
constexpr const Layout* LayoutOfKind(std::string_view kind) {
  for (const Layout* layout : kAllLayouts) {
    if (layout->kind == kind) return layout;
  }
  return nullptr;
}

// Every kind begins with the same header and ends in its line end.
static_assert([] {
  for (const Layout* layout : kAllLayouts) {
    if (FieldOf(*layout, "RecordSpec") != header::RecordSpec ||
        FieldOf(*layout, "DataCategory") != header::DataCategory ||
        Span(FieldOf(*layout, "CreatedYear"), FieldOf(*layout, "CreatedDay")) !=
            header::CreatedDate ||
        FieldOf(*layout, "LineEnd").end() != layout->storedLength ||
        DeliveredFieldOf(*layout, "LineEnd").end() != layout->deliveredLength) {
      return false;
    }
  }
  return true;
}());

}  // namespace meridax::records
