#pragma once

#include <cstdint>
#include <string>

namespace meridax {

// A rate a/b as six digits: the last six of Int(a/b x 100000) + 1000000, the quotient
// taken in single precision (so 7/10 gives "069999"); "000000" when b is 0.
std::string FixedRate6(double a, double b);

// A count n as the last six digits of n + 1000000.
std::string FixedCount6(std::int64_t n);

// A prize-money total as the last nine digits of the total + 1000000000.
std::string FixedNumber9(std::int64_t total);

// Four characters from the running-style counts: front-running a, stalking b, mid-pack
// c and rear d. "0000" when a + b is 0, else "1", the whole part of (c + d) / (a + b)
// capped at 4, and "00".
std::string RunningStyleCode(double a, double b, double c, double d);

}  // namespace meridax
