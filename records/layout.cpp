#include "records/layout.h"

#include <stdexcept>
#include <string>

namespace meridax::records::detail {

void UnknownField(std::string_view name) {
  throw std::invalid_argument("unknown field " + std::string(name));
}

}  // namespace meridax::records::detail
