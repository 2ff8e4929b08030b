#include "datasetup/runhistory/run_history_grid.h"

namespace meridax {

std::string GridCellText(std::string_view record, const GridRow& row) {
  std::string text;
  for (int i = 0; i < row.count; ++i) {
    if (i > 0 && !row.separatorAfterEach) text.append(row.separator);
    text.append(records::View(record, row.fields[static_cast<std::size_t>(i)]));
    if (row.separatorAfterEach) text.append(row.separator);
  }
  return text;
}

}  // namespace meridax
