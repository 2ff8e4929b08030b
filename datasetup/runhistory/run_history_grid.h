#pragma once

// The rows of the run-history grid EXPFG: row r + 1 shows kRunHistoryGridRows[r], its label
// in column 0 and, in each run column, the row's fields of the extended run record joined
// with its separator.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "datasetup/common/extended_run_record.h"

namespace meridax {

struct GridRow {
  std::string_view label;
  std::array<records::FieldRef, 4> fields{};  // the first `count` are shown
  int count = 1;
  std::string_view separator = {};
  // The separator follows every field, the last too ("123-115-120-118-").
  bool separatorAfterEach = false;
};

namespace run_history_grid_detail {
using namespace extended_run;
constexpr GridRow R(std::string_view label, records::FieldRef f) {
  return {label, {f}, 1};
}
// Two fields with one blank between them.
constexpr GridRow Blank(std::string_view label, records::FieldRef a, records::FieldRef b) {
  return {label, {a, b}, 2, " "};
}
constexpr GridRow Joined(std::string_view label, records::FieldRef a, records::FieldRef b) {
  return {label, {a, b}, 2};
}

inline constexpr GridRow kRows[] = {
    R("レコードスペック", RecordSpec),
    R("データ区分", DataCategory),
    R("作成年月日", CreatedDate),
    R("レース年月日", records::Span(RaceYear, RaceMonthDay)),
    R("レース開催場所回日R", records::Span(RacecourseCode, RaceNumber)),
    R("枠馬番血統番号", records::Span(FrameNumber, HorseId)),
    R("馬名", HorseName),
    R("生年月日", BirthDate),
    R("馬招待地区", InvitationRegion),
    R("生産者コード", BreederCode),
    R("生産地", BirthplaceName),
    R("父馬繁殖番号", AncestorBlocks_BreedingNumber.In(1)),
    R("父馬生年", AncestorBlocks_BirthYear.In(1)),
    R("父馬生産地", AncestorBlocks_BirthplaceName.In(1)),
    R("母馬繁殖番号", AncestorBlocks_BreedingNumber.In(2)),
    R("母馬生年", AncestorBlocks_BirthYear.In(2)),
    R("母馬生産地", AncestorBlocks_BirthplaceName.In(2)),
    Joined("母父馬繁殖番号+父父", AncestorBlocks_BreedingNumber.In(4),
           AncestorBlocks_BreedingNumber.In(6)),
    Joined("母父馬生年+父父", AncestorBlocks_BirthYear.In(4), AncestorBlocks_BirthYear.In(6)),
    Joined("母父馬生産地+父父", AncestorBlocks_BirthplaceName.In(4),
           AncestorBlocks_BirthplaceName.In(6)),
    R("馬記号", HorseSymbolCode),
    R("馬性別", SexCode),
    R("馬品種", BreedCode),
    R("馬毛色", CoatColorCode),
    R("東西所属", AffiliationCode),
    R("調教師コード", TrainerCode),
    R("馬主コード", OwnerCode),
    R("服色表示", SilksDescription),
    R("負担重量", WeightCarried),
    R("変更前負担重量", WeightCarriedBefore),
    R("ブリンカー使用区分", BlinkerCode),
    Blank("予備", Reserved2, WeekdayCode),
    R("騎手コード", JockeyCode),
    R("騎手略称", JockeyShortName),
    R("騎手生年月日", JockeyBirthDate),
    R("騎手性別", JockeySexCode),
    R("騎乗資格区分", RidingQualificationCode),
    R("騎手招待地区", JockeyInvitationRegion),
    R("変更前騎手コード", JockeyCodeBefore),
    R("変更前騎手略称", JockeyShortNameBefore),
    R("見習い区分", ApprenticeCode),
    R("変更前見習い区分", ApprenticeCodeBefore),
    R("馬体重", BodyWeight),
    R("前走増減符号", BodyWeightChangeSign),
    R("前走増減差", BodyWeightChange),
    R("異常区分", AbnormalityCode),
    Blank("入線順位", ArrivalOrder, TimeBehindWinner),
    R("確定順位", FinishPosition),
    R("同着区分", DeadHeatCode),
    R("同着頭数", DeadHeatCount),
    R("走破タイム", FinishTime),
    R("着差コード", MarginCode),
    R("着差コード+", MarginCodePlus),
    R("着差コード++", MarginCodePlusPlus),
    R("第1コーナー順位", CornerPositions.At(1)),
    R("第2コーナー順位", CornerPositions.At(2)),
    R("第3コーナー順位", CornerPositions.At(3)),
    R("第4コーナー順位", CornerPositions.At(4)),
    R("単勝オッズ", WinOdds),
    R("単勝人気", WinPopularity),
    R("本賞金", PrizeMoney),
    R("付加賞金", AddedMoney),
    R("予備", Reserved3),
    R("予備", Reserved4),
    R("後半4Fタイム", Last4FurlongTime),
    R("後半3Fタイム", Last3FurlongTime),
    R("レースグレイド", GradeCode),
    R("変更前レースグレイド", GradeCodeBefore),
    R("競走条件種別", RaceConditionKind),
    R("競走条件記号", RaceConditionSymbol),
    R("競走重量種別", RaceWeightKind),
    R("競走2歳条件", RaceAgeConditions.At(1)),
    R("競走3歳条件", RaceAgeConditions.At(2)),
    R("競走4歳条件", RaceAgeConditions.At(3)),
    R("競走5歳以上条件", RaceAgeConditions.At(4)),
    R("競走最若年条件", RaceAgeConditions.At(5)),
    R("距離(m)", Distance),
    R("変更前距離(m)", DistanceBefore),
    R("トラックコード", TrackCode),
    R("変更前トラックコード", TrackCodeBefore),
    R("コース区分", CourseDivision),
    R("変更前コース区分", CourseDivisionBefore),
    R("本賞金1着", PrizeMoneyByPlace.At(1)),
    R("本賞金2着", PrizeMoneyByPlace.At(2)),
    R("本賞金3着", PrizeMoneyByPlace.At(3)),
    R("本賞金4着", PrizeMoneyByPlace.At(4)),
    R("本賞金5着", PrizeMoneyByPlace.At(5)),
    R("同着本賞金5着", PrizeMoneyByPlace.At(6)),
    R("同着本賞金5着", PrizeMoneyByPlace.At(7)),
    R("同着変更前1着本賞金", PrizeMoneyByPlaceBefore.At(1)),
    R("同着変更前2着本賞金", PrizeMoneyByPlaceBefore.At(2)),
    R("同着変更前3着本賞金", PrizeMoneyByPlaceBefore.At(3)),
    R("同着変更前4着本賞金", PrizeMoneyByPlaceBefore.At(4)),
    R("同着変更前5着本賞金", PrizeMoneyByPlaceBefore.At(5)),
    R("付加賞金1着", AddedMoneyByPlace.At(1)),
    R("付加賞金2着", AddedMoneyByPlace.At(2)),
    R("付加賞金3着", AddedMoneyByPlace.At(3)),
    R("同着付加賞金3着", AddedMoneyByPlace.At(4)),
    R("同着付加賞金3着", AddedMoneyByPlace.At(5)),
    R("同着変更前1着付加賞金", AddedMoneyByPlaceBefore.At(1)),
    R("同着変更前2着付加賞金", AddedMoneyByPlaceBefore.At(2)),
    R("同着変更前3着付加賞金", AddedMoneyByPlaceBefore.At(3)),
    R("発走時刻", PostTime),
    R("変更前発走時刻", PostTimeBefore),
    R("登録頭数", RegisteredCount),
    R("出走頭数", StarterCount),
    R("入線頭数", FinisherCount),
    R("天候コード", WeatherCode),
    R("芝馬場状態", TurfGoingCode),
    R("ダート馬場状態", DirtGoingCode),
    {"ハロン毎先頭馬タイム",
     {FurlongLeaderTimes.At(1), FurlongLeaderTimes.At(2), FurlongLeaderTimes.At(3),
      FurlongLeaderTimes.At(4)},
     4,
     "-",
     true},
    R("障害マイルタイム", JumpMileTime),
    // The lap totals in the order first 4F, first 3F, last 4F, last 3F.
    R("前半4Fラップタイム計", First4FurlongLapTime),
    R("前半3Fラップタイム計", First3FurlongLapTime),
    R("後半4Fラップタイム計", Last4FurlongLapTime),
    R("後半3Fラップタイム計", Last3FurlongLapTime),
    R("コ周回各馬通貨順位0", CornerPassings.In(1)),
    R("コ周回各馬通貨順位1", CornerPassings.In(2)),
    R("コ周回各馬通貨順位2", CornerPassings.In(3)),
    R("コ周回各馬通貨順位3", CornerPassings.In(4)),
    R("第何子", FoalOrder),
    R("市場コード", MarketCode),
    R("市場主催者", MarketOrganizer),
    R("市場名", MarketName),
    R("市場開始日", MarketStartDate),
    R("市場閉鎖日", MarketEndDate),
    R("取引馬齢", SaleAge),
    R("取引価格（円）", SalePrice),
};
}  // namespace run_history_grid_detail

inline constexpr std::span<const GridRow> kRunHistoryGridRows{run_history_grid_detail::kRows};
static_assert(std::size(run_history_grid_detail::kRows) == 128);

// The bytes a row shows for one extended run record (code page 932, trailing blanks kept).
std::string GridCellText(std::string_view record, const GridRow& row);

}  // namespace meridax
