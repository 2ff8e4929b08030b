#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window.h"  // RunStep, the frame in which the steps run

namespace meridax {

// The status text of most steps: the label, one blank and the count with a leading blank
// when it is not negative ("RA 終わり", two blanks, digits).
std::string StatusText(std::string_view label, std::int64_t count);

}  // namespace meridax
