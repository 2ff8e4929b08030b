#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace meridax {

// The next field of a record: at most `width` bytes from the 1-based byte `position`
// (bytes past the end are missing, so the field may be short or empty). The position
// advances by `width` whatever was taken. Fields stay code page 932 bytes.
std::string TakeBytes(std::string_view bytes, std::int32_t& position, std::int32_t width);

// The same into `field`, which keeps its storage from one record to the next.
void TakeBytes(std::string_view bytes, std::int32_t& position, std::int32_t width,
               std::string& field);

}  // namespace meridax
