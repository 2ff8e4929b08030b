#include "records/take_bytes.h"

namespace meridax {

void TakeBytes(std::string_view bytes, std::int32_t& position, std::int32_t width,
               std::string& field) {
  field.clear();
  if (position >= 1 && width > 0) {
    const auto start = static_cast<std::size_t>(position - 1);
    if (start < bytes.size()) field.assign(bytes.substr(start, static_cast<std::size_t>(width)));
  }
  position += width;
}

std::string TakeBytes(std::string_view bytes, std::int32_t& position, std::int32_t width) {
  std::string field;
  TakeBytes(bytes, position, width, field);
  return field;
}

}  // namespace meridax
