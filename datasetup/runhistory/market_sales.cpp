#include "datasetup/runhistory/market_sales.h"

namespace meridax {

void MarketSaleTable::Add(std::string_view line) {
  records::ParseHS(line, parsed_);
  std::string row(kRowLength, ' ');
  // The dates are their three parts joined; each part put at its own position gives the
  // same bytes, as a part is short only when the line ended in it.
  using namespace records::hs;
  for (const records::FieldRef f :
       {HorseId, MarketCode, MarketOrganizer, MarketName, MarketStartYear, MarketStartMonth,
        MarketStartDay, MarketEndYear, MarketEndMonth, MarketEndDay, SaleAge, SalePrice}) {
    records::Put(row, f, parsed_.Text(f));
  }
  rows_.append(row);
}

}  // namespace meridax
