#pragma once

// The SpeedFigure code of a speed and the check that this library's float arithmetic is
// the plain single precision the codes are defined in.

#include <string>

namespace meridax {

// The last seven characters of the decimal text of Int(double(v) x 100000) + 10000000: a
// speed in km/h to five decimals, wrapping at 100 km/h; 0 gives "0000000".
std::string SpeedFigure(float v);

// True when the speed figures' translation unit rounds every float operation on its own:
// no product contracted into a fused multiply-add, no fast-math, no wider evaluation.
bool FloatArithmeticIsStrict();

}  // namespace meridax
