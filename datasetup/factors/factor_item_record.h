#pragma once

// FactorItemRecord (SIBAITEM201901N2025.dat and its dirt and jump twins): 199 bytes, the
// three speed figures and the thirty item codes of one accepted run.

#include <array>
#include <string>
#include <string_view>

#include "records/layout.h"

#define MERIDAX_FACTOR_ITEM_ROWS(X, M) \
  X(F, AgariFigure, 1, 7)              \
  X(F, PaceFigure, 8, 7)               \
  X(F, SohaFigure, 15, 7)              \
  X(F, Item01, 22, 9)                  \
  X(F, Item02, 31, 11)                 \
  X(F, Item03, 42, 9)                  \
  X(F, Item04, 51, 4)                  \
  X(F, Item05, 55, 5)                  \
  X(F, Item06, 60, 6)                  \
  X(F, Item07, 66, 5)                  \
  X(F, Item08, 71, 4)                  \
  X(F, Item09, 75, 3)                  \
  X(F, Item10, 78, 3)                  \
  X(F, Item11, 81, 4)                  \
  X(F, Item12, 85, 3)                  \
  X(F, Item13, 88, 6)                  \
  X(F, Item14, 94, 6)                  \
  X(F, Item15, 100, 6)                 \
  X(F, Item16, 106, 4)                 \
  X(F, Item17, 110, 4)                 \
  X(F, Item18, 114, 6)                 \
  X(F, Item19, 120, 5)                 \
  X(F, Item20, 125, 10)                \
  X(F, Item21, 135, 10)                \
  X(F, Item22, 145, 5)                 \
  X(F, Item23, 150, 10)                \
  X(F, Item24, 160, 6)                 \
  X(F, Item25, 166, 4)                 \
  X(F, Item26, 170, 4)                 \
  X(F, Item27, 174, 8)                 \
  X(F, Item28, 182, 6)                 \
  X(F, Item29, 188, 6)                 \
  X(F, Item30, 194, 4)                 \
  X(F, LineEnd, 198, 2)

namespace meridax {

inline constexpr records::FieldSpec kFactorItemLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_FACTOR_ITEM_ROWS)};

inline constexpr int kFactorItemLength = 199;
inline constexpr int kFactorItemCount = 30;
inline constexpr records::Layout kFactorItemLayout{"FactorItem", kFactorItemLayoutFields,
                                                   kFactorItemLength, kFactorItemLength};
static_assert(records::LayoutIsValid(kFactorItemLayout));

namespace factor_item {
using records::FieldRef;
MERIDAX_LAYOUT_REFS(MERIDAX_FACTOR_ITEM_ROWS, kFactorItemLayout)
// The speed figures by number: 0 Agari, 1 Pace, 2 Soha.
inline constexpr std::array<FieldRef, 3> kSpeedFields{AgariFigure, PaceFigure, SohaFigure};

// Item k (1 to 30) is the row after the three speed figures.
constexpr FieldRef Item(int k) {
  const records::FieldSpec& f = kFactorItemLayoutFields[2 + k];
  return {f.pos, f.width};
}
static_assert(Item(1).pos == 22 && Item(30).end() == 197 && Item(22).width == 5);
}  // namespace factor_item

// A record of blanks ending in CR LF: what a new window's item record starts as.
inline std::string BlankFactorItemRecord() {
  std::string record(kFactorItemLength, ' ');
  record[kFactorItemLength - 2] = '\r';
  record[kFactorItemLength - 1] = '\n';
  return record;
}

}  // namespace meridax
