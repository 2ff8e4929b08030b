#include <algorithm>

#include "tools/sample/builder.h"
#include "tools/sample/emit.h"

namespace meridax::sample::build {

void Builder::Sales() {
  Rng rng = root_.Fork(8);
  // Markets: foals in July, yearlings in July, August and October, two-year-olds in April.
  struct Market {
    int age, month, day, length;
  };
  static const Market kMarkets[] = {
      {0, 7, 10, 2}, {1, 7, 12, 2}, {1, 8, 20, 5}, {1, 10, 4, 3}, {2, 4, 20, 2}};
  for (std::size_t i = 0; i < w_.horses.size(); ++i) {
    const Horse& h = w_.horses[i];
    const Foal& f = w_.foals[static_cast<std::size_t>(h.foal)];
    if (f.birth.year < p_.racehorseFrom) continue;
    const double u = rng.Unit();
    const int count = u < p_.saleTwice ? 2 : u < p_.saleTwice + p_.saleOnce ? 1 : 0;
    const double sire = w_.breeding[static_cast<std::size_t>(f.sire)].quality;
    for (int s = 0; s < count; ++s) {
      const int m = count == 2 ? (s == 0 ? 0 : 1 + static_cast<int>(rng.Below(3)))
                               : static_cast<int>(rng.Below(5));
      const Market& mk = kMarkets[m];
      Sale sale;
      sale.horse = static_cast<int>(i);
      sale.saleAge = mk.age;
      sale.start = {f.birth.year + mk.age, mk.month, mk.day};
      sale.end = sale.start.Plus(mk.length - 1);
      if (w_.snapshot < sale.end) continue;
      sale.market = m;
      sale.marketCode = Digits(sale.start.year, 4) + Digits(m + 1, 2);
      const double base = 1000000.0 + 400000.0 * rng.Unit() * std::min(sire, 60.0) *
                                          (1 + h.ability * 0.3 + (m == 1 ? 2 : 0));
      sale.price = static_cast<std::int64_t>(std::max(500000.0, base) / 10000) * 10000;
      sale.created = sale.end.Plus(10);
      w_.sales.push_back(std::move(sale));
    }
  }
  std::stable_sort(w_.sales.begin(), w_.sales.end(),
                   [](const Sale& a, const Sale& b) { return a.start < b.start; });
}

}  // namespace meridax::sample::build
