#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace meridax {

// The list box as the steps use it: entries appended at the end, never sorted or removed,
// and the entry the operator selected (-1 for none). Texts are UTF-8.
class ListModel {
 public:
  void AddItem(std::string_view utf8) {
    items_.emplace_back(utf8);
    ++revision_;
  }
  std::size_t Count() const { return items_.size(); }
  const std::string& Item(std::size_t i) const { return items_.at(i); }
  const std::vector<std::string>& Items() const { return items_; }

  // Selects the first entry holding `utf8`; false when none does.
  bool Select(std::string_view utf8);
  void SetSelected(long long index);
  long long Selected() const { return selected_; }
  // The selected entry's text; empty when nothing is selected.
  std::string SelectedText() const;

  std::size_t revision() const { return revision_; }

 private:
  std::vector<std::string> items_;
  long long selected_ = -1;
  std::size_t revision_ = 0;
};

}  // namespace meridax
