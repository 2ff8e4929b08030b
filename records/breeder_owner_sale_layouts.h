#pragma once

// Breeder (BR), owner (BN) and market-sale (HS) records. Stored and delivered layouts are
// the same; a market sale is kept as its delivered text line, not as a stored record.

#include "records/layout.h"

// The results block that breeder and owner records both carry (this year, career).
#define MERIDAX_YEAR_RESULT_MEMBER_ROWS(X, M) \
  M(YearResults, F, SetYear, 0, 4)            \
  M(YearResults, F, PrizeTotal, 4, 10)        \
  M(YearResults, F, AddedTotal, 14, 10)       \
  M(YearResults, F, FinishCounts, 24, 6, 6)

#define MERIDAX_BREEDER_ROWS(X, M)      \
  MERIDAX_RECORD_HEADER_ROWS(X, M)      \
  X(F, BreederCode, 12, 8)              \
  X(F, BreederNameCorporate, 20, 72)    \
  X(F, BreederName, 92, 72)             \
  X(F, BreederNameKana, 164, 72)        \
  X(F, BreederNameEnglish, 236, 168)    \
  X(F, BreederAddress, 404, 20)         \
  X(G, YearResults, 424, 60, 2, 4)      \
  MERIDAX_YEAR_RESULT_MEMBER_ROWS(X, M) \
  X(F, LineEnd, 544, 2)

#define MERIDAX_OWNER_ROWS(X, M)        \
  MERIDAX_RECORD_HEADER_ROWS(X, M)      \
  X(F, OwnerCode, 12, 6)                \
  X(F, OwnerNameCorporate, 18, 64)      \
  X(F, OwnerName, 82, 64)               \
  X(F, OwnerNameKana, 146, 50)          \
  X(F, OwnerNameEnglish, 196, 100)      \
  X(F, SilksDescription, 296, 60)       \
  X(G, YearResults, 356, 60, 2, 4)      \
  MERIDAX_YEAR_RESULT_MEMBER_ROWS(X, M) \
  X(F, LineEnd, 476, 2)

#define MERIDAX_MARKET_SALE_ROWS(X, M)                      \
  MERIDAX_RECORD_HEADER_ROWS(X, M)                          \
  X(F, HorseId, 12, 10)                                     \
  X(F, SireBreedingNumber, 22, 10)                          \
  X(F, DamBreedingNumber, 32, 10)                           \
  X(F, BirthYear, 42, 4)                                    \
  X(F, MarketCode, 46, 6)                                   \
  X(F, MarketOrganizer, 52, 40)                             \
  X(F, MarketName, 92, 80)                                  \
  X(F, MarketStartYear, 172, 4)                             \
  X(F, MarketStartMonth, 176, 2)                            \
  X(F, MarketStartDay, 178, 2)                              \
  X(Span, MarketStartDate, MarketStartYear, MarketStartDay) \
  X(F, MarketEndYear, 180, 4)                               \
  X(F, MarketEndMonth, 184, 2)                              \
  X(F, MarketEndDay, 186, 2)                                \
  X(Span, MarketEndDate, MarketEndYear, MarketEndDay)       \
  X(F, SaleAge, 188, 1)                                     \
  X(F, SalePrice, 189, 10)                                  \
  X(F, LineEnd, 199, 2)

namespace meridax::records {

inline constexpr FieldSpec kBreederLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_BREEDER_ROWS)};
inline constexpr Layout kBreederLayout{"BR", kBreederLayoutFields, 545, 545};
static_assert(LayoutIsValid(kBreederLayout));

namespace br {
MERIDAX_LAYOUT_REFS(MERIDAX_BREEDER_ROWS, kBreederLayout)
}  // namespace br

inline constexpr FieldSpec kOwnerLayoutFields[] = {MERIDAX_LAYOUT_ROWS(MERIDAX_OWNER_ROWS)};
inline constexpr Layout kOwnerLayout{"BN", kOwnerLayoutFields, 477, 477};
static_assert(LayoutIsValid(kOwnerLayout));

namespace bn {
MERIDAX_LAYOUT_REFS(MERIDAX_OWNER_ROWS, kOwnerLayout)
}  // namespace bn

inline constexpr FieldSpec kMarketSaleLayoutFields[] = {
    MERIDAX_LAYOUT_ROWS(MERIDAX_MARKET_SALE_ROWS)};
inline constexpr Layout kMarketSaleLayout{"HS", kMarketSaleLayoutFields, 200, 200};
static_assert(LayoutIsValid(kMarketSaleLayout));

namespace hs {
MERIDAX_LAYOUT_REFS(MERIDAX_MARKET_SALE_ROWS, kMarketSaleLayout)
}  // namespace hs

// Spot checks of positions that later steps rely on.
static_assert(bn::YearResults.In(2).pos == 416);
static_assert(bn::YearResults_SetYear.In(2).pos == 416 &&
              bn::YearResults_SetYear.In(2).end() == 419);
static_assert(bn::YearResults_PrizeTotal.In(2).pos == 420 &&
              bn::YearResults_PrizeTotal.In(2).end() == 429);
static_assert(bn::YearResults_AddedTotal.In(2).pos == 430 &&
              bn::YearResults_AddedTotal.In(2).end() == 439);
static_assert(bn::YearResults_FinishCounts.In(2).pos == 440 &&
              bn::YearResults_FinishCounts.In(2).At(6).end() == 475);
static_assert(br::YearResults.In(1).pos == 424 && br::YearResults.In(2).pos == 484);
static_assert(br::YearResults_PrizeTotal.In(2).pos == 488);
static_assert(br::YearResults_FinishCounts.In(2).pos == 508 &&
              br::YearResults_FinishCounts.In(2).At(6).end() == 543);
static_assert(hs::SalePrice.pos == 189 && hs::SalePrice.end() == 198);
static_assert(hs::LineEnd.pos == 199 && hs::LineEnd.end() == 200);
static_assert(hs::MarketStartDate.pos == 172 && hs::MarketEndDate.pos == 180 &&
              hs::MarketEndDate.width == 8);

}  // namespace meridax::records
