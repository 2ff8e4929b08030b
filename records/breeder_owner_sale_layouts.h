#pragma once

// Breeder (BR), owner (BN) and market-sale (HS) records. Stored and delivered layouts are
// the same; a market sale is kept as its delivered text line, not as a stored record.

#include "records/layout.h"

namespace meridax::records {

// The results block that breeder and owner records both carry (this year, career).
inline constexpr FieldSpec kYearResultMembers[] = {
    F("YearResults.SetYear", 0, 4),
    F("YearResults.PrizeTotal", 4, 10),
    F("YearResults.AddedTotal", 14, 10),
    F("YearResults.FinishCounts", 24, 6, 6),
};

inline constexpr auto kBreederLayoutFields = JoinRows(
    {
        F("RecordSpec", 1, 2),
        F("DataCategory", 3, 1),
        F("CreatedYear", 4, 4),
        F("CreatedMonth", 8, 2),
        F("CreatedDay", 10, 2),
        F("BreederCode", 12, 8),
        F("BreederNameCorporate", 20, 72),
        F("BreederName", 92, 72),
        F("BreederNameKana", 164, 72),
        F("BreederNameEnglish", 236, 168),
        F("BreederAddress", 404, 20),
        G("YearResults", 424, 60, 2, 4),
    },
    kYearResultMembers,
    {
        F("LineEnd", 544, 2),
    });
inline constexpr Layout kBreederLayout{"BR", kBreederLayoutFields, 545, 545};
static_assert(LayoutIsValid(kBreederLayout));

namespace br {
inline constexpr FieldRef RecordSpec = FieldOf(kBreederLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kBreederLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kBreederLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kBreederLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kBreederLayout, "CreatedDay");
inline constexpr FieldRef BreederCode = FieldOf(kBreederLayout, "BreederCode");
inline constexpr FieldRef BreederNameCorporate = FieldOf(kBreederLayout, "BreederNameCorporate");
inline constexpr FieldRef BreederName = FieldOf(kBreederLayout, "BreederName");
inline constexpr FieldRef BreederNameKana = FieldOf(kBreederLayout, "BreederNameKana");
inline constexpr FieldRef BreederNameEnglish = FieldOf(kBreederLayout, "BreederNameEnglish");
inline constexpr FieldRef BreederAddress = FieldOf(kBreederLayout, "BreederAddress");
inline constexpr FieldRef YearResults = FieldOf(kBreederLayout, "YearResults");
inline constexpr FieldRef YearResults_SetYear = FieldOf(kBreederLayout, "YearResults.SetYear");
inline constexpr FieldRef YearResults_PrizeTotal =
    FieldOf(kBreederLayout, "YearResults.PrizeTotal");
inline constexpr FieldRef YearResults_AddedTotal =
    FieldOf(kBreederLayout, "YearResults.AddedTotal");
inline constexpr FieldRef YearResults_FinishCounts =
    FieldOf(kBreederLayout, "YearResults.FinishCounts");
inline constexpr FieldRef LineEnd = FieldOf(kBreederLayout, "LineEnd");
}  // namespace br

namespace br {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
}  // namespace br

inline constexpr auto kOwnerLayoutFields = JoinRows(
    {
        F("RecordSpec", 1, 2),
        F("DataCategory", 3, 1),
        F("CreatedYear", 4, 4),
        F("CreatedMonth", 8, 2),
        F("CreatedDay", 10, 2),
        F("OwnerCode", 12, 6),
        F("OwnerNameCorporate", 18, 64),
        F("OwnerName", 82, 64),
        F("OwnerNameKana", 146, 50),
        F("OwnerNameEnglish", 196, 100),
        F("SilksDescription", 296, 60),
        G("YearResults", 356, 60, 2, 4),
    },
    kYearResultMembers,
    {
        F("LineEnd", 476, 2),
    });
inline constexpr Layout kOwnerLayout{"BN", kOwnerLayoutFields, 477, 477};
static_assert(LayoutIsValid(kOwnerLayout));

namespace bn {
inline constexpr FieldRef RecordSpec = FieldOf(kOwnerLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kOwnerLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kOwnerLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kOwnerLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kOwnerLayout, "CreatedDay");
inline constexpr FieldRef OwnerCode = FieldOf(kOwnerLayout, "OwnerCode");
inline constexpr FieldRef OwnerNameCorporate = FieldOf(kOwnerLayout, "OwnerNameCorporate");
inline constexpr FieldRef OwnerName = FieldOf(kOwnerLayout, "OwnerName");
inline constexpr FieldRef OwnerNameKana = FieldOf(kOwnerLayout, "OwnerNameKana");
inline constexpr FieldRef OwnerNameEnglish = FieldOf(kOwnerLayout, "OwnerNameEnglish");
inline constexpr FieldRef SilksDescription = FieldOf(kOwnerLayout, "SilksDescription");
inline constexpr FieldRef YearResults = FieldOf(kOwnerLayout, "YearResults");
inline constexpr FieldRef YearResults_SetYear = FieldOf(kOwnerLayout, "YearResults.SetYear");
inline constexpr FieldRef YearResults_PrizeTotal = FieldOf(kOwnerLayout, "YearResults.PrizeTotal");
inline constexpr FieldRef YearResults_AddedTotal = FieldOf(kOwnerLayout, "YearResults.AddedTotal");
inline constexpr FieldRef YearResults_FinishCounts =
    FieldOf(kOwnerLayout, "YearResults.FinishCounts");
inline constexpr FieldRef LineEnd = FieldOf(kOwnerLayout, "LineEnd");
}  // namespace bn

namespace bn {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
}  // namespace bn

inline constexpr FieldSpec kMarketSaleLayoutFields[] = {
    F("RecordSpec", 1, 2),
    F("DataCategory", 3, 1),
    F("CreatedYear", 4, 4),
    F("CreatedMonth", 8, 2),
    F("CreatedDay", 10, 2),
    F("HorseId", 12, 10),
    F("SireBreedingNumber", 22, 10),
    F("DamBreedingNumber", 32, 10),
    F("BirthYear", 42, 4),
    F("MarketCode", 46, 6),
    F("MarketOrganizer", 52, 40),
    F("MarketName", 92, 80),
    F("MarketStartYear", 172, 4),
    F("MarketStartMonth", 176, 2),
    F("MarketStartDay", 178, 2),
    F("MarketEndYear", 180, 4),
    F("MarketEndMonth", 184, 2),
    F("MarketEndDay", 186, 2),
    F("SaleAge", 188, 1),
    F("SalePrice", 189, 10),
    F("LineEnd", 199, 2),
};
inline constexpr Layout kMarketSaleLayout{"HS", kMarketSaleLayoutFields, 200, 200};
static_assert(LayoutIsValid(kMarketSaleLayout));

namespace hs {
inline constexpr FieldRef RecordSpec = FieldOf(kMarketSaleLayout, "RecordSpec");
inline constexpr FieldRef DataCategory = FieldOf(kMarketSaleLayout, "DataCategory");
inline constexpr FieldRef CreatedYear = FieldOf(kMarketSaleLayout, "CreatedYear");
inline constexpr FieldRef CreatedMonth = FieldOf(kMarketSaleLayout, "CreatedMonth");
inline constexpr FieldRef CreatedDay = FieldOf(kMarketSaleLayout, "CreatedDay");
inline constexpr FieldRef HorseId = FieldOf(kMarketSaleLayout, "HorseId");
inline constexpr FieldRef SireBreedingNumber = FieldOf(kMarketSaleLayout, "SireBreedingNumber");
inline constexpr FieldRef DamBreedingNumber = FieldOf(kMarketSaleLayout, "DamBreedingNumber");
inline constexpr FieldRef BirthYear = FieldOf(kMarketSaleLayout, "BirthYear");
inline constexpr FieldRef MarketCode = FieldOf(kMarketSaleLayout, "MarketCode");
inline constexpr FieldRef MarketOrganizer = FieldOf(kMarketSaleLayout, "MarketOrganizer");
inline constexpr FieldRef MarketName = FieldOf(kMarketSaleLayout, "MarketName");
inline constexpr FieldRef MarketStartYear = FieldOf(kMarketSaleLayout, "MarketStartYear");
inline constexpr FieldRef MarketStartMonth = FieldOf(kMarketSaleLayout, "MarketStartMonth");
inline constexpr FieldRef MarketStartDay = FieldOf(kMarketSaleLayout, "MarketStartDay");
inline constexpr FieldRef MarketEndYear = FieldOf(kMarketSaleLayout, "MarketEndYear");
inline constexpr FieldRef MarketEndMonth = FieldOf(kMarketSaleLayout, "MarketEndMonth");
inline constexpr FieldRef MarketEndDay = FieldOf(kMarketSaleLayout, "MarketEndDay");
inline constexpr FieldRef SaleAge = FieldOf(kMarketSaleLayout, "SaleAge");
inline constexpr FieldRef SalePrice = FieldOf(kMarketSaleLayout, "SalePrice");
inline constexpr FieldRef LineEnd = FieldOf(kMarketSaleLayout, "LineEnd");
}  // namespace hs

namespace hs {
inline constexpr FieldRef CreatedDate = Span(CreatedYear, CreatedDay);
inline constexpr FieldRef MarketStartDate = Span(MarketStartYear, MarketStartDay);
inline constexpr FieldRef MarketEndDate = Span(MarketEndYear, MarketEndDay);
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
