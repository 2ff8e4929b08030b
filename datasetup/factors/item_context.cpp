#include "datasetup/factors/item_context.h"

namespace meridax {

std::string_view RunFile::Record(std::int64_t n) const {
  if (n < 1 || n > map_.Count()) return blanks_;
  return map_.Record(n);
}

}  // namespace meridax
