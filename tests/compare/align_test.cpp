// The in-order alignment: what pairs with what when entries are removed, added or changed.
#include "compare/align.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace slab {
namespace {

// Letters pair at no cost when equal, at 1 when they only differ in case, else at 5.
Pairing Align(const std::string& a, const std::string& b) {
  return AlignInOrder(
      a.size(), b.size(),
      [&](size_t i, size_t j) {
        if (a[i] == b[j]) return 0;
        return std::tolower(a[i]) == std::tolower(b[j]) ? 1 : 5;
      },
      3);
}

TEST(AlignInOrder, ARemovalOrAdditionInTheMiddleShiftsTheRest) {
  const Pairing removed = Align("abcdef", "abdef");
  EXPECT_EQ(removed.OldToNew, (std::vector<int>{0, 1, -1, 2, 3, 4}));
  EXPECT_EQ(removed.NewToOld, (std::vector<int>{0, 1, 3, 4, 5}));
  const Pairing added = Align("abdef", "abXdef");
  EXPECT_EQ(added.NewToOld, (std::vector<int>{0, 1, -1, 2, 3, 4}));
  // A removal and an edit nearby: the edited entry still pairs.
  EXPECT_EQ(Align("abcdEf", "abdef").OldToNew, (std::vector<int>{0, 1, -1, 2, 3, 4}));
}

TEST(AlignInOrder, EntriesChangedInPlacePairIndexByIndex) {
  // Pairs that differ in everything still cost less than a removal and an addition.
  EXPECT_EQ(Align("abc", "xyz").OldToNew, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Align("aBc", "abC").OldToNew, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Align("", "ab").NewToOld, (std::vector<int>{-1, -1}));
  EXPECT_EQ(Align("ab", "").OldToNew, (std::vector<int>{-1, -1}));
  // Two entries swapped: order is kept, so one of them reads as moved out and back in.
  const Pairing swapped = Align("pq", "qp");
  EXPECT_EQ(std::count(swapped.OldToNew.begin(), swapped.OldToNew.end(), -1), 1);
}

TEST(AlignInOrder, PairsTooDearAreNeverMade) {
  // With pairs dearer than two unpaired entries, nothing unlike pairs.
  const Pairing pairing = AlignInOrder(
      2, 2, [](size_t i, size_t j) { return i == j ? 7 : (i == 0 && j == 1 ? 0 : 9); }, 3);
  EXPECT_EQ(pairing.OldToNew, (std::vector<int>{1, -1}));
}

}  // namespace
}  // namespace slab
