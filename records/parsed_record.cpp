#include "records/parsed_record.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "records/take_bytes.h"

namespace meridax::records {

namespace {

// Walks a layout in parse order, element by element, members in order, entries and cells.
template <typename Visit>
void WalkSlots(const Layout& layout, Visit visit) {
  const auto& fields = layout.fields;
  int delivered = 1;
  int stored = 1;
  auto leaf = [&](int row, int element) {
    const FieldSpec& f = fields[static_cast<std::size_t>(row)];
    const int cellDelivered = f.width / f.cells;
    const int cellStored = f.storedWidth / f.cells;
    for (int entry = 1; entry <= f.repeat; ++entry) {
      for (int cell = 1; cell <= f.cells; ++cell) {
        visit(FieldSlot{row, element, entry, cell, delivered, cellDelivered, stored, cellStored});
        delivered += cellDelivered;
        stored += cellStored;
      }
    }
  };
  for (std::size_t i = 0; i < fields.size();) {
    const FieldSpec& f = fields[i];
    const int row = static_cast<int>(i);
    if (f.members == 0) {
      leaf(row, 1);
    } else {
      for (int element = 1; element <= f.repeat; ++element) {
        for (int m = 1; m <= f.members; ++m) leaf(row + m, element);
      }
    }
    i += 1 + static_cast<std::size_t>(f.members);
  }
}

}  // namespace

SlotTable::SlotTable(const Layout& layout)
    : byStoredPos_(static_cast<std::size_t>(layout.storedLength) + 1, -1) {
  WalkSlots(layout, [&](const FieldSlot& slot) {
    byStoredPos_[static_cast<std::size_t>(slot.storedPos)] =
        static_cast<std::int32_t>(slots_.size());
    slots_.push_back(slot);
  });
}

int SlotTable::IndexOf(FieldRef field) const {
  if (field.pos < 1 || static_cast<std::size_t>(field.pos) >= byStoredPos_.size()) return -1;
  const std::int32_t index = byStoredPos_[static_cast<std::size_t>(field.pos)];
  if (index < 0 || slots_[static_cast<std::size_t>(index)].storedWidth != field.width) return -1;
  return index;
}

const SlotTable& SlotsOf(const Layout& layout) {
  static std::mutex mutex;
  static std::map<const Layout*, std::unique_ptr<SlotTable>> tables;
  const std::lock_guard lock(mutex);
  auto& table = tables[&layout];
  if (!table) table = std::make_unique<SlotTable>(layout);
  return *table;
}

ParsedRecord::ParsedRecord(const Layout& layout)
    : layout_(&layout), slots_(&SlotsOf(layout)), texts_(slots_->slots().size()) {}

std::size_t ParsedRecord::Index(FieldRef field) const {
  const int index = slots_->IndexOf(field);
  if (index < 0) {
    throw std::invalid_argument("not a field of the " + std::string(layout_->kind) +
                                " layout at position " + std::to_string(field.pos));
  }
  return static_cast<std::size_t>(index);
}

void ParsedRecord::Clear() {
  for (auto& text : texts_) text.clear();
}

void Parse(std::string_view bytes, ParsedRecord& parsed) {
  std::int32_t position = 1;
  const auto& slots = parsed.slots();
  for (std::size_t i = 0; i < slots.size(); ++i) {
    TakeBytes(bytes, position, slots[i].deliveredWidth, parsed.texts_[i]);
  }
}

namespace {

void Build(const ParsedRecord& parsed, std::string& out, bool delivered) {
  const Layout& layout = parsed.layout();
  out.assign(static_cast<std::size_t>(delivered ? layout.deliveredLength : layout.storedLength),
             ' ');
  const auto& slots = parsed.slots();
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const FieldSlot& slot = slots[i];
    const int pos = delivered ? slot.deliveredPos : slot.storedPos;
    const int width = delivered ? slot.deliveredWidth : slot.storedWidth;
    const std::string_view text = parsed.TextAt(i);
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(width));
    std::copy_n(text.data(), n, out.data() + (pos - 1));
  }
}

}  // namespace

void ToFixed(const ParsedRecord& parsed, std::string& stored) {
  Build(parsed, stored, false);
}

std::string ToFixed(const ParsedRecord& parsed) {
  std::string stored;
  ToFixed(parsed, stored);
  return stored;
}

void ToDelivered(const ParsedRecord& parsed, std::string& delivered) {
  Build(parsed, delivered, true);
}

std::string ToDelivered(const ParsedRecord& parsed) {
  std::string delivered;
  ToDelivered(parsed, delivered);
  return delivered;
}

}  // namespace meridax::records
