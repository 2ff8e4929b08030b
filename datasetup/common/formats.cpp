#include "datasetup/common/formats.h"

#include <cmath>

#include "platform/numbers.h"

namespace meridax {

std::string FixedRate6(double a, double b) {
  if (b == 0) return "000000";
  const double scaled = Int(SingleQuotient(a, b) * 100000.0);
  return LastDigits(static_cast<std::int64_t>(scaled) + 1000000, 6);
}

std::string FixedCount6(std::int64_t n) {
  return LastDigits(n + 1000000, 6);
}

std::string FixedNumber9(std::int64_t total) {
  return LastDigits(total + 1000000000, 9);
}

std::string RunningStyleCode(double a, double b, double c, double d) {
  if (a + b == 0) return "0000";
  double k = Int((c + d) / (a + b));
  if (k > 4) k = 4;
  return "1" + std::to_string(static_cast<std::int64_t>(k)) + "00";
}

}  // namespace meridax
