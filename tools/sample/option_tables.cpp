// The outside tables under OPTION1N: the category window's category, count, totals and
// weight tables, and the dam statistics that only the factor item variants read.

#include <algorithm>
#include <numeric>

#include "datasetup/common/data_files.h"
#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/parent_stat_record.h"
#include "platform/file_ops.h"
#include "platform/text_file.h"
#include "records/parsers.h"
#include "tools/sample/earlier.h"
#include "tools/sample/emit.h"

namespace meridax::sample {

namespace fs = std::filesystem;

void WriteMinimalCategoryTables(const fs::path& data) {
  CreateFolders(PathBelow(data, kOptionFolder));
  for (const CourseKind kind : kCourseKinds) {
    const CategoryTableFiles t = CategoryTableFilesOf(kind);
    // The totals as the window reads them: 30 counts without the leading pair that the
    // categorisation writes.
    TextWriter totals(PathBelow(data, t.totals), TextWriter::Mode::kOutput);
    for (int item = 1; item <= 30; ++item) totals.Num(0).EndLine();
    totals.Close();
    for (const std::string* n :
         {&t.categories, &t.agariWeights, &t.paceWeights, &t.sohaWeights, &t.counts}) {
      TextWriter(PathBelow(data, *n), TextWriter::Mode::kOutput).Close();
    }
  }
}

std::size_t WriteDamStatistics(const World& w, const std::vector<bool>& known,
                               const fs::path& data) {
  // The known horses of each dam.
  std::vector<std::vector<int>> foalsOf(w.breeding.size());
  for (int h = 0; h < static_cast<int>(w.horses.size()); ++h) {
    if (!known[static_cast<std::size_t>(h)]) continue;
    const Foal& f = w.foals[static_cast<std::size_t>(w.horses[static_cast<std::size_t>(h)].foal)];
    if (f.dam >= 0) foalsOf[static_cast<std::size_t>(f.dam)].push_back(h);
  }
  std::vector<int> dams;
  for (int b = 0; b < static_cast<int>(w.breeding.size()); ++b) {
    if (w.breeding[static_cast<std::size_t>(b)].sex == '2') dams.push_back(b);
  }
  std::stable_sort(dams.begin(), dams.end(), [&](int a, int b) {
    return w.breeding[static_cast<std::size_t>(a)].number <
           w.breeding[static_cast<std::size_t>(b)].number;
  });
  CreateFolders(PathBelow(data, kOptionFolder));
  TextWriter out(PathBelow(data, kDamHorseStatFileName), TextWriter::Mode::kOutput);
  Emitter emit(w);
  records::ParsedUM um;
  for (int d : dams) {
    // Summed from the foals' horse records as stored, as the parent statistics sum theirs.
    ParentTotals totals{};
    for (int h : foalsOf[static_cast<std::size_t>(d)]) {
      records::Parse(emit.Horse(h), um);
      const FinishCountValues v = FinishCountValuesOf(records::ToFixed(um));
      for (int k = 1; k <= kFinishCountValues; ++k) {
        totals[static_cast<std::size_t>(k)] += v[static_cast<std::size_t>(k)];
      }
    }
    out.Raw(BuildParentStatRecord(w.breeding[static_cast<std::size_t>(d)].number, totals));
  }
  out.Close();
  return dams.size();
}

}  // namespace meridax::sample
