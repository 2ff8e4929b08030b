#pragma once

// FactorItemRecord (SIBAITEM201901N2025.dat and its dirt and jump twins): 199 bytes, the
// three speed figures and the thirty item codes of one accepted run.

#include <array>
#include <string>
#include <string_view>

#include "records/layout.h"

namespace meridax {

namespace factor_item_detail {
using records::F;
inline constexpr records::FieldSpec kFields[] = {
    F("AgariFigure", 1, 7), F("PaceFigure", 8, 7), F("SohaFigure", 15, 7), F("Item01", 22, 9),
    F("Item02", 31, 11),    F("Item03", 42, 9),    F("Item04", 51, 4),     F("Item05", 55, 5),
    F("Item06", 60, 6),     F("Item07", 66, 5),    F("Item08", 71, 4),     F("Item09", 75, 3),
    F("Item10", 78, 3),     F("Item11", 81, 4),    F("Item12", 85, 3),     F("Item13", 88, 6),
    F("Item14", 94, 6),     F("Item15", 100, 6),   F("Item16", 106, 4),    F("Item17", 110, 4),
    F("Item18", 114, 6),    F("Item19", 120, 5),   F("Item20", 125, 10),   F("Item21", 135, 10),
    F("Item22", 145, 5),    F("Item23", 150, 10),  F("Item24", 160, 6),    F("Item25", 166, 4),
    F("Item26", 170, 4),    F("Item27", 174, 8),   F("Item28", 182, 6),    F("Item29", 188, 6),
    F("Item30", 194, 4),    F("LineEnd", 198, 2),
};
}  // namespace factor_item_detail

inline constexpr int kFactorItemLength = 199;
inline constexpr int kFactorItemCount = 30;
inline constexpr records::Layout kFactorItemLayout{"FactorItem", factor_item_detail::kFields,
                                                   kFactorItemLength, kFactorItemLength};
static_assert(records::LayoutIsValid(kFactorItemLayout));

namespace factor_item {
using records::FieldRef;
// The speed figures by number: 0 Agari, 1 Pace, 2 Soha.
inline constexpr std::array<FieldRef, 3> kSpeedFields{
    records::FieldOf(kFactorItemLayout, "AgariFigure"),
    records::FieldOf(kFactorItemLayout, "PaceFigure"),
    records::FieldOf(kFactorItemLayout, "SohaFigure")};
inline constexpr FieldRef AgariFigure = kSpeedFields[0];
inline constexpr FieldRef PaceFigure = kSpeedFields[1];
inline constexpr FieldRef SohaFigure = kSpeedFields[2];
inline constexpr FieldRef LineEnd = records::FieldOf(kFactorItemLayout, "LineEnd");

// Item k (1 to 30) is the row after the three speed figures.
constexpr FieldRef Item(int k) {
  const records::FieldSpec& f = factor_item_detail::kFields[2 + k];
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
