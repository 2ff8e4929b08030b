#pragma once

// Engines of the later item variants: scans of a jockey's race file, place rates of the
// horse's earlier runs by bins, changes per day between two runs, the early-pace code of a
// run, the sires' distance-limit lists and the digit of an owner's or breeder's rate.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "datasetup/factors/item_context.h"
#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factorvariants/variant_engines.h"
#include "platform/record_map.h"
#include "records/layout.h"

namespace meridax::variants {

// ---- A jockey's race file ----

// KISHUGOTOSETUP\<JockeyCode>.dat, runner records of 555 bytes, opened by the routine that
// reads it and released when that routine returns or fails (never a handle of the step's).
// A missing file is created empty, as a random-access open creates it. A code that cannot
// name a file, or a missing folder, abandons the routine.
class JockeyRides {
 public:
  explicit JockeyRides(std::string_view jockeyCode);
  std::int64_t Count() const { return map_->Count(); }
  // Ride n, 1 to Count().
  std::string_view Ride(std::int64_t n) const { return map_->Record(n); }

 private:
  std::unique_ptr<RecordMap> map_;
};

// What a scan does with a ride: passes it by, counts it, or ends before it.
enum class RideVerdict { kSkip, kCount, kStop };

// Rides counted and those among them with ArrivalOrder "01" or "02".
struct RideTally {
  std::int64_t rides = 0;
  std::int64_t top2 = 0;
};

// From ride `from`, one by one towards ride 1 (`backward`) or the last ride, judges each;
// a counted ride that makes the count exceed `limit` is the last (0: no limit).
struct RideScan {
  std::int64_t from = 1;
  bool backward = false;
  std::int64_t limit = 0;
  std::function<RideVerdict(std::string_view ride)> judge;
};
RideTally TallyRides(const JockeyRides& rides, const RideScan& scan);

// The date of a ride (RaceYear / RaceMonthDay of the runner record); no date abandons.
std::int64_t RideDay(std::string_view ride);

// ---- Rates of counts ----

// placed x scale / runs, rounded to the nearest whole number with halves to even, at most
// `cap`; 0 without runs.
std::int64_t ScaledRate(std::int64_t placed, std::int64_t runs, int scale, int cap);

// The place rates of the horse's runs 1 to r - 1 counted in bins.
struct EarlierPlacesRule {
  // The bin (0 to bins - 1) a run counts in; may abandon the routine.
  int (*bin)(std::string_view run);
  std::string_view lastPlaced;  // ArrivalOrder "01" to this counts as placed
  int scale;
  int cap;
  int digits;  // each rate written as its last `digits` digits
};
inline constexpr std::size_t kMaxPlaceBins = 5;
// The rates of each bin. For a first run every bin reads 0 but the run's own, which reads
// the cap when it placed; a file of one run reads 0 in every bin. Reads the earlier runs
// into CurrentRun and the run under work again.
std::array<std::string, kMaxPlaceBins> EarlierPlaces(ItemContext& c, const EarlierPlacesRule& rule);

// The digit class of a one-character digit: "1" for "0" or "1", "2" for "2" or "3", else
// "3".
std::string_view DigitClass(std::string_view digit);

// A flat run's code of a turf and a dirt digit: track text "00" to "21" "0" & turf & the
// class of dirt, "22" to "49" "0" & dirt & the class of turf; none for any other track.
std::optional<std::string> FlatDigitsCode(std::string_view track, std::string_view turf,
                                          std::string_view dirt);

// ---- Changes per day between two runs ----

// The change of a weight from an older run to a newer one per day, times `factor`.
struct DailyChange {
  records::FieldRef weight;
  int factor;
  // Weights read as 16-bit whole numbers (else by their leading digits); and whether runs
  // on one day divide by zero (abandoning the routine) rather than giving none.
  bool sixteenBit;
  bool sameDayFails;
};
// Int(factor x (older weight - newer weight) / days), the days kept to four digits
// (FourDigitDays); none when either weight is 0 or less.
std::optional<std::int64_t> ChangePerDay(std::string_view older, std::string_view newer,
                                         const DailyChange& change);

// The band of such a change k: s = the text of k + 50; s from "00" to `lowTop` gives
// `lowCode`, from `keepFrom` to "51" stays, anything else (in text order) "52".
struct ChangeBand {
  std::string_view lowTop;
  std::string_view lowCode;
  std::string_view keepFrom;
};
std::string ChangeBandCode(std::int64_t k, const ChangeBand& band);

// ---- The early pace of a run ----

// E of a run: the last furlong recorded, Z, against the leader's time F over the first
// furlongs, as the last four characters of Round(Z x 100 / F + 1000); "1000" when F or Z is
// 0 (where E would be "1100", it is "1000"). Z x 100 is a 16-bit product.
std::string EarlyPaceCode(std::string_view run);

// ---- Sire lists ----

// A distance limit in metres and the sires that have it.
struct SireList {
  int limit;
  std::span<const std::string_view> sires;
};
// The limit of the first list holding the sire, the numbers compared whole, byte by byte;
// `otherwise` when none does.
int SireDistanceLimit(std::string_view sire, std::span<const SireList> lists, int otherwise);

// ---- Odds ----

// The digit of win odds (0.1 units, not "0000" or blanks) by E = Int(1000 / odds) in
// single precision: "1" for E of 0 or 1, "2" for 2 or 3, "3" to 6, "4" to 10, "5" to 20,
// "6" to 30, "7" to 50, "8" above. Odds that read as 0 abandon the routine.
std::string_view OddsDigit(std::string_view odds);

// ---- Count tables ----

// The place rate of a count table's row for a number: the first row from 1 to 1500 holding
// it in column 0 (row 0 when none does), the placed columns over all of the run's course
// kind (turf 0 to 22, dirt 23 to 49, jump otherwise) as PlaceRate; two digits & "0".
std::string CountTableCode(const JockeyCountTable& table, std::int32_t number,
                           std::string_view run);

// ---- Owners and breeders ----

// The rate of a breeder or owner in per cent, Int(Top3Rate / 1000), of the first record
// keyed `code` (the whole code, whatever its width: a code wider than the key is never
// found); none when no record is.
std::optional<std::int64_t> BreederOwnerRate(ItemContext& c, const StatFile& file,
                                             std::string_view code);
// Its digit: "0" for none, "8" for a rate below 0 or above 8.
std::string RateDigit(std::optional<std::int64_t> rate);

// ---- Prize per run ----

// The runs and prize money of a jockey's or trainer's statistics, on the flat and over
// jumps.
inline constexpr PrizeFields kPersonFlatPrize{person_stat::TotalFlatRuns,
                                              person_stat::TotalFlatPrize};
inline constexpr PrizeFields kPersonJumpPrize{person_stat::JumpRuns, person_stat::TotalJumpPrize};

// The prize per run of a statistics record on a logarithmic scale: the last two digits of
// Int(10 x log10(prize / runs)) + 100; "00" without runs or prize.
std::string PrizeLogDigits(std::string_view stat, const PrizeFields& fields);

}  // namespace meridax::variants
