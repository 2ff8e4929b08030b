#include "datasetup/factors/female_line_table.h"

namespace meridax {

void FemaleLineTable::AddMare() {
  mares_.emplace_back();
  indexed_ = false;
}

void FemaleLineTable::AddValue(std::string_view value) {
  if (mares_.empty()) AddMare();
  Mare& m = mares_.back();
  if (m.read >= kGenerations * kValues) return;
  const int generation = m.read / kValues;
  const int slot = m.read % kValues;
  ++m.read;
  indexed_ = false;
  if (generation == 0) {
    if (slot == 0) m.number = value;
    return;
  }
  if (m.root) return;
  if (slot == 0) {
    m.candidate = value;
  } else if (slot == 1 && value.empty()) {
    m.root = m.candidate;
  }
}

std::optional<std::string_view> FemaleLineTable::RootOf(const Mare& m) {
  if (m.root) return *m.root;
  const int generation = m.read / kValues;
  const int slot = m.read % kValues;
  if (generation == 0) return std::string_view();  // generation 1 is unread: empty
  if (generation >= kGenerations) return std::nullopt;
  // Value 1 of this generation is still unread, so empty: value 0 is the root, read or not.
  if (slot <= 1) return slot == 1 ? std::string_view(m.candidate) : std::string_view();
  // Value 1 was read and not empty; the next generation, if any, is unread.
  if (generation + 1 < kGenerations) return std::string_view();
  return std::nullopt;
}

std::optional<std::string_view> FemaleLineTable::Root(std::string_view mare) const {
  if (!indexed_) {
    lastWithRoot_.clear();
    for (std::size_t i = 0; i < mares_.size(); ++i) {
      if (RootOf(mares_[i])) lastWithRoot_[mares_[i].number] = i;
    }
    indexed_ = true;
  }
  const auto it = lastWithRoot_.find(mare);
  if (it == lastWithRoot_.end()) return std::nullopt;
  return RootOf(mares_[it->second]);
}

}  // namespace meridax
