// Items 14 to 17: the rests before this run, the previous valid run's odds, and the
// parents' top-three rates on this race's going.

#include <algorithm>
#include <optional>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/factor_items.h"
#include "platform/numbers.h"

namespace meridax {

namespace {
namespace ex = extended_run;
using records::View;

// Items 16 and 17: a parent's top-three rate on the going of this race, from the parent
// statistics; `goingPrefix` starts the code with the going digit, else with "1".
std::string ParentGoingRate(ItemContext& c, int ancestor, const StatFile& file, bool goingPrefix) {
  const std::string_view run = c.ReadCurrent();
  const auto stat = ParentStat(c, run, ancestor, file);
  if (!stat) return "10";
  // The going lines of the rates: 8 to 11 turf, 12 to 15 dirt, 16 to 19 jump, each good,
  // slightly heavy, heavy, bad; jumps are run on turf.
  struct GoingLines {
    int first;
    records::FieldRef going;
  };
  static constexpr TrackBandValue<GoingLines> kBands[] = {{0, 22, {8, ex::TurfGoingCode}},
                                                          {23, 49, {12, ex::DirtGoingCode}}};
  const GoingLines lines = BandOf(kBands, GoingLines{16, ex::TurfGoingCode}, TrackNumber(run));
  const std::string_view going = View(run, lines.going);
  if (going.size() != 1 || going[0] < '0' || going[0] > '4') return "10";
  const int g = std::max(1, going[0] - '0');  // going "0" reads as good
  const std::string_view rate = View(*stat, parent_stat::LineTop3Rates.At(lines.first + g - 1));
  return (goingPrefix ? DecimalText(g) : std::string("1")) + DecimalText(RateSteps4(rate));
}

}  // namespace

std::string Factor14(ItemContext& c) {
  const std::int32_t r = c.CurrentRunNumber;
  const std::string_view run = c.ReadCurrent();
  const std::int64_t d0 = RunDateOf(run);
  const std::string_view c0 = View(run, ex::RacecourseCode);
  std::int32_t w1 = 0;
  std::int32_t w2 = 0;
  std::int32_t w3 = 0;
  std::optional<std::string_view> c1;  // only a run of four or more has one
  if (r == 2) {
    w1 = RestWeeks(RunDateOf(c.Read(1)), d0);
  } else if (r == 3) {
    const std::int64_t d2 = RunDateOf(c.Read(2));
    w1 = RestWeeks(d2, d0);
    w2 = RestWeeks(RunDateOf(c.Read(1)), d2);
  } else if (r >= 4) {
    const std::int32_t p = PreviousValidRun(c, c.CurrentRunNumber);
    const std::string_view previous = c.Read(p);
    c1 = View(previous, ex::RacecourseCode);
    const std::int64_t dp = RunDateOf(previous);
    w1 = RestWeeks(dp, d0);
    const std::int64_t before = RunDateOf(c.Read(r - 2));
    w2 = p == r - 2 ? 0 : RestWeeks(before, dp);
    w3 = RestWeeks(RunDateOf(c.Read(r - 3)), before);
  }
  const std::string flag = c1 && *c1 == c0 ? "1" : "2";
  std::string result = flag + RestDigits(w1, w2, w3);
  if (result == "21340") result = "21040";
  c.ReadCurrent();
  return result;
}

std::string Factor15(ItemContext& c) {
  c.ReadCurrent();
  if (c.CurrentRunNumber <= 1) return "10";
  const std::int32_t p = PreviousValidRun(c, c.CurrentRunNumber);
  const std::string_view odds = View(c.Read(p), ex::WinOdds);
  std::string code = "10";
  if (odds != "0000" && odds != "    ") {
    code = DecimalText(FloorTenLog10(Val(odds)));
  }
  c.ReadCurrent();
  return code;
}

std::string Factor16(ItemContext& c) {
  return ParentGoingRate(c, 1, kStallionStats, true);
}

std::string Factor17(ItemContext& c) {
  return ParentGoingRate(c, 2, kMareStats, false);
}

}  // namespace meridax
