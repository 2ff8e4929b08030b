#include "datasetup/factors/speed_figures.h"

#include <cfloat>
#include <cmath>
#include <string_view>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/factors/factor_items.h"

// The codes depend on every float quotient and product being rounded to single precision
// where it is taken; this library is built with -ffp-contract=off and without fast-math.
#if defined(__FAST_MATH__)
#error "the speed figures need strict float arithmetic"
#endif

namespace meridax {

namespace ex = extended_run;
using records::View;

std::string SpeedFigure(float v) {
  const double scaled = std::floor(static_cast<double>(v) * 100000);
  return std::string(LastChars(DecimalText(static_cast<std::int64_t>(scaled) + 10000000), 7));
}

bool FloatArithmeticIsStrict() {
  // (1 + 2^-12)^2 - 1 is 2^-11 + 2^-24: the square rounds away 2^-24, a fused multiply-add
  // keeps it.
  volatile float a = 1.0f + 0x1p-12f;
  volatile float minusOne = -1.0f;
  const float fused = a * a + minusOne;
#if defined(__FAST_MATH__)
  return false;
#else
  return FLT_EVAL_METHOD == 0 && fused == 0x1p-11f;
#endif
}

namespace {

// A field read as a single-precision number; text that is no number abandons the routine.
float Single(std::string_view text) {
  return static_cast<float>(CDouble(text));
}

// Flat tracks are 0 to 49; anything else, negative codes included, is a jump track.
bool IsFlat(std::string_view run) {
  const std::int16_t t = TrackNumber(run);
  return t >= 0 && t <= 49;
}

// Race time in tenths: one digit of minutes, then three of seconds and tenths.
float RaceTenths(std::string_view run) {
  const std::string_view time = View(run, ex::FinishTime);
  return Single(time.substr(0, 1)) * 600 + Single(time.substr(1, 3));
}

}  // namespace

std::string AgariSpeed(ItemContext& c) {
  const std::string_view run = c.CurrentRun;
  const std::string_view last3 = View(run, ex::Last3FurlongTime);
  if (IsBlank(last3)) return std::string(7, ' ');
  const float t = Single(last3);
  float v = 0;
  if (t != 0) v = SingleDivide(IsFlat(run) ? 21600.0f : 7200.0f, t);
  return SpeedFigure(v);
}

std::string PaceSpeed(ItemContext& c) {
  const std::string_view run = c.CurrentRun;
  const std::string_view last3 = View(run, ex::Last3FurlongTime);
  if (IsBlank(last3)) return std::string(7, ' ');
  const float t = Single(last3);
  float v = 0;
  if (t != 0) {
    const float p = RaceTenths(run) - t;
    const float d =
        IsFlat(run) ? Single(View(run, ex::Distance)) - 600 : Single(View(run, ex::Distance)) - 200;
    v = SingleDivide(d, p);
    v = v * 36;
  }
  return SpeedFigure(v);
}

std::string SohaSpeed(ItemContext& c) {
  const std::string_view run = c.CurrentRun;
  const std::string_view time = View(run, ex::FinishTime);
  float v = 0;
  if (!IsBlank(time) && Single(time) != 0) {
    const float total = RaceTenths(run);
    v = SingleDivide(Single(View(run, ex::Distance)), total);
    v = v * 36;
  }
  return SpeedFigure(v);
}

}  // namespace meridax
