#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/parsers.h"

namespace meridax {

// The market sales of the earlier generation (HS20180101.dat), one row per line of the
// file in file order, nothing merged: a horse sold twice has two rows. A row keeps the
// sale's fields at their market-sale record positions, blank-padded where a line was short,
// so the extended record's sale fields are read from it as from a market-sale record. No
// bound: the table grows with the file.
class MarketSaleTable {
 public:
  // The eight columns of a row: HorseId, MarketCode, MarketOrganizer, MarketName, the start
  // and end dates (yyyymmdd) and SaleAge, SalePrice.
  static constexpr std::array<records::FieldRef, 8> kColumns{
      records::hs::HorseId,    records::hs::MarketCode,      records::hs::MarketOrganizer,
      records::hs::MarketName, records::hs::MarketStartDate, records::hs::MarketEndDate,
      records::hs::SaleAge,    records::hs::SalePrice};
  static constexpr std::size_t kRowLength = static_cast<std::size_t>(records::hs::SalePrice.end());

  void Clear() { rows_.clear(); }
  // Cuts one line of the file (without its line end) with ParseHS and adds it as a row.
  void Add(std::string_view line);
  std::int64_t Count() const { return static_cast<std::int64_t>(rows_.size() / kRowLength); }
  // Row n, 1 to Count().
  std::string_view Row(std::int64_t n) const {
    return std::string_view(rows_).substr(static_cast<std::size_t>(n - 1) * kRowLength, kRowLength);
  }
  // Column 0 to 7 of row n.
  std::string_view Cell(std::int64_t n, int column) const {
    return records::View(Row(n), kColumns[static_cast<std::size_t>(column)]);
  }

 private:
  std::string rows_;  // rows back to back, kRowLength bytes each
  records::ParsedHS parsed_;
};

}  // namespace meridax
