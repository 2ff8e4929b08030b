#include "datasetup/common/sorts.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace meridax {
namespace {

using Keys = std::vector<std::string>;
using Ids = std::vector<int>;

// The procedure as written: recursive, left part first.
template <bool kAscending>
void Literal(Keys& keys, Ids& ids, int l, int r) {
  const std::string pivot = keys[(l + r) / 2];
  int i = l;
  int j = r;
  for (;;) {
    if (kAscending) {
      while (keys[i] < pivot) ++i;
      while (keys[j] > pivot) --j;
    } else {
      while (keys[i] > pivot) ++i;
      while (keys[j] < pivot) --j;
    }
    if (i >= j) break;
    std::swap(keys[i], keys[j]);
    std::swap(ids[i], ids[j]);
    ++i;
    --j;
  }
  if (l < i - 1) Literal<kAscending>(keys, ids, l, i - 1);
  if (j + 1 < r) Literal<kAscending>(keys, ids, j + 1, r);
}

struct SortCase {
  Keys keys;  // slots 1..n
  Ids ascending;
  Ids descending;
};

TEST(SortsTest, EqualKeysComeOutInTheOrderOfTheProcedure) {
  const SortCase cases[] = {
      {{"K"}, {1}, {1}},
      {{"K", "K"}, {2, 1}, {2, 1}},
      {{"K", "K", "K"}, {3, 2, 1}, {3, 2, 1}},
      {{"K", "K", "M"}, {2, 1, 3}, {3, 2, 1}},
      {{"M", "K", "K"}, {3, 2, 1}, {1, 3, 2}},
      {{"B", "A", "B", "A"}, {4, 2, 1, 3}, {3, 1, 4, 2}},
  };
  for (const auto& c : cases) {
    for (bool ascending : {true, false}) {
      Keys keys{"slot0"};
      Ids ids{-1};
      for (std::size_t i = 0; i < c.keys.size(); ++i) {
        keys.push_back(c.keys[i]);
        ids.push_back(static_cast<int>(i + 1));
      }
      keys.push_back("beyond");
      ids.push_back(99);
      const auto n = static_cast<std::int64_t>(c.keys.size());
      if (ascending) {
        QuickSortAscending(keys, ids, 1, n);
      } else {
        QuickSortDescending(keys, ids, 1, n);
      }
      const Ids got(ids.begin() + 1, ids.end() - 1);
      EXPECT_EQ(got, ascending ? c.ascending : c.descending)
          << (ascending ? "ascending " : "descending ") << ::testing::PrintToString(c.keys);
      EXPECT_EQ(keys.front(), "slot0");
      EXPECT_EQ(ids.front(), -1);
      EXPECT_EQ(keys.back(), "beyond");
      EXPECT_EQ(ids.back(), 99);
    }
  }
}

TEST(SortsTest, EmptyAndSingleRangesChangeNothing) {
  Keys keys{"x", "b", "a"};
  Ids ids{0, 1, 2};
  QuickSortAscending(keys, ids, 1, 0);
  QuickSortAscending(keys, ids, 2, 2);
  EXPECT_EQ(keys, (Keys{"x", "b", "a"}));
  EXPECT_EQ(ids, (Ids{0, 1, 2}));
}

TEST(SortsTest, ARangeOutsideTheTablesFailsAndChangesNothing) {
  const Keys keys{"x", "c", "b", "a"};
  const Ids ids{0, 1, 2, 3};
  struct Case {
    std::int64_t l, r;
    std::size_t companions;
  } cases[] = {{1, 4, 4}, {-1, 2, 4}, {1, 3, 3}, {1, 99, 4}};
  for (const auto& c : cases) {
    for (bool ascending : {true, false}) {
      Keys k = keys;
      Ids i(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(c.companions));
      const Ids before = i;
      if (ascending) {
        EXPECT_THROW(QuickSortAscending(k, i, c.l, c.r), std::out_of_range) << c.l << ".." << c.r;
      } else {
        EXPECT_THROW(QuickSortDescending(k, i, c.l, c.r), std::out_of_range) << c.l << ".." << c.r;
      }
      EXPECT_EQ(k, keys);
      EXPECT_EQ(i, before);
    }
  }
}

TEST(SortsTest, ComparesByCharacterCodePrefixFirst) {
  Keys keys{"", "b", "B", "ab", "a", "10", "9"};
  Ids ids{0, 1, 2, 3, 4, 5, 6};
  QuickSortAscending(keys, ids, 1, 6);
  EXPECT_EQ(keys, (Keys{"", "10", "9", "B", "a", "ab", "b"}));
}

TEST(SortsTest, MatchesTheRecursiveProcedureOnKeysWithManyDuplicates) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 300; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 400)(rng);
    const int alphabet = std::uniform_int_distribution<int>(1, 12)(rng);
    Keys keys{"zz-slot0"};
    Ids ids{0};
    for (int i = 1; i <= n; ++i) {
      const int k = std::uniform_int_distribution<int>(0, alphabet - 1)(rng);
      keys.push_back(std::string(1 + k % 3, static_cast<char>('A' + k)));
      ids.push_back(i);
    }
    for (bool ascending : {true, false}) {
      Keys a = keys, b = keys;
      Ids ia = ids, ib = ids;
      if (ascending) {
        QuickSortAscending(a, ia, 1, n);
        if (n >= 1) Literal<true>(b, ib, 1, n);
      } else {
        QuickSortDescending(a, ia, 1, n);
        if (n >= 1) Literal<false>(b, ib, 1, n);
      }
      ASSERT_EQ(ia, ib) << "round " << round << (ascending ? " ascending" : " descending");
      ASSERT_EQ(a, b);
    }
  }
}

TEST(SortsTest, AdversarialInputDoesNotExhaustTheStack) {
  // Ascending runs degrade a middle-pivot sort little; an "organ pipe" drives the
  // recursive form deep. Only termination is asserted here.
  const int n = 200000;
  std::vector<int> keys(n + 1);
  std::vector<int> ids(n + 1);
  for (int i = 1; i <= n; ++i) {
    keys[i] = i <= n / 2 ? i : n - i;
    ids[i] = i;
  }
  QuickSortAscending(keys, ids, 1, n);
  for (int i = 2; i <= n; ++i) ASSERT_LE(keys[i - 1], keys[i]);
}

}  // namespace
}  // namespace meridax
