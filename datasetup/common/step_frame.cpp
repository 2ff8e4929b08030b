#include "datasetup/common/step_frame.h"

#include "platform/numbers.h"

namespace meridax {

std::string StatusText(std::string_view label, std::int64_t count) {
  return std::string(label) + " " + Str(count);
}

}  // namespace meridax
