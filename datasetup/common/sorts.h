#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace meridax {

// The one key comparison of the sorts and cleaning steps. Texts compare by the numeric
// code of their characters, the first difference deciding and a prefix first. Keys are
// code page 932 bytes; the keys sorted are ASCII codes and digits, for which unsigned
// byte order is character-code order.
inline bool KeyLess(std::string_view a, std::string_view b) {
  return a < b;
}
template <typename N>
requires std::is_arithmetic_v<N>
inline bool KeyLess(N a, N b) {
  return a < b;
}

namespace sort_detail {

// One pass of the quicksort over slots l..r: middle pivot (a copy), strict scans, equal
// keys exchanged. Leaves i and j where the procedure leaves them.
template <bool kAscending, typename Key, typename Companion>
void Partition(std::vector<Key>& keys, std::vector<Companion>& companions, std::int64_t l,
               std::int64_t r, std::int64_t& i, std::int64_t& j) {
  using std::swap;
  const Key pivot = keys[static_cast<std::size_t>((l + r) / 2)];
  i = l;
  j = r;
  for (;;) {
    if constexpr (kAscending) {
      while (KeyLess(keys[static_cast<std::size_t>(i)], pivot)) ++i;
      while (KeyLess(pivot, keys[static_cast<std::size_t>(j)])) --j;
    } else {
      while (KeyLess(pivot, keys[static_cast<std::size_t>(i)])) ++i;
      while (KeyLess(keys[static_cast<std::size_t>(j)], pivot)) --j;
    }
    if (i >= j) break;
    swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
    swap(companions[static_cast<std::size_t>(i)], companions[static_cast<std::size_t>(j)]);
    ++i;
    --j;
  }
}

// The recursive procedure sorts the left part, then the right part. The two parts are
// disjoint, so the result does not depend on which is done first; the larger part is
// deferred here so the pending stack stays logarithmic whatever the input.
template <bool kAscending, typename Key, typename Companion>
void Sort(std::vector<Key>& keys, std::vector<Companion>& companions, std::int64_t l,
          std::int64_t r) {
  if (r < l) return;
  // A range outside either table fails before anything moves, so a bad call leaves both
  // tables as they were rather than keys and companions out of step.
  if (l < 0 || static_cast<std::uint64_t>(r) >= keys.size() ||
      static_cast<std::uint64_t>(r) >= companions.size()) {
    throw std::out_of_range("sort range outside the tables");
  }
  std::vector<std::pair<std::int64_t, std::int64_t>> pending;
  for (;;) {
    std::int64_t i = 0;
    std::int64_t j = 0;
    Partition<kAscending>(keys, companions, l, r, i, j);
    const bool left = l < i - 1;
    const bool right = j + 1 < r;
    const std::pair<std::int64_t, std::int64_t> leftPart{l, i - 1};
    const std::pair<std::int64_t, std::int64_t> rightPart{j + 1, r};
    if (left && right) {
      const bool leftSmaller = (i - 1 - l) < (r - j - 1);
      pending.push_back(leftSmaller ? rightPart : leftPart);
      std::tie(l, r) = leftSmaller ? leftPart : rightPart;
    } else if (left) {
      std::tie(l, r) = leftPart;
    } else if (right) {
      std::tie(l, r) = rightPart;
    } else if (!pending.empty()) {
      std::tie(l, r) = pending.back();
      pending.pop_back();
    } else {
      return;
    }
  }
}

}  // namespace sort_detail

// Sorts slots l..r of `keys` ascending and moves each companion with its key. The exact
// procedure is the contract: it decides which record of a run of equal keys stands first,
// and so which one a cleaning step keeps. Slots outside l..r are untouched. A range that
// does not lie within both tables throws std::out_of_range and changes nothing.
template <typename Key, typename Companion>
void QuickSortAscending(std::vector<Key>& keys, std::vector<Companion>& companions, std::int64_t l,
                        std::int64_t r) {
  sort_detail::Sort<true>(keys, companions, l, r);
}

template <typename Key, typename Companion>
void QuickSortDescending(std::vector<Key>& keys, std::vector<Companion>& companions, std::int64_t l,
                         std::int64_t r) {
  sort_detail::Sort<false>(keys, companions, l, r);
}

}  // namespace meridax
