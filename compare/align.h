// Pairing the entries of two lists in order, so that an entry removed from the middle of a
// list reads as one removal and not as a change of every entry after it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace slab {

// For each entry of either list, the entry of the other it is paired with, or -1.
struct Pairing {
  std::vector<int> OldToNew;
  std::vector<int> NewToOld;
};

// Beyond this many cells of the alignment table the middle of the lists is paired index by
// index: lists that differ so much give a long report either way, and the table stays small.
inline constexpr size_t kMaxAlignmentCells = size_t{1} << 24;

// The pairing of least total cost that keeps both lists' order: pairing old entry i with new
// entry j costs cost(i, j) (0 for equal entries), leaving an entry unpaired costs unpaired. A
// pair dearer than two unpaired entries is never made. Ties go to pairing, so lists of equal
// length whose entries all changed a little pair index by index.
template <typename Cost>
Pairing AlignInOrder(size_t oldCount, size_t newCount, Cost cost, int unpaired) {
  Pairing pairing{std::vector<int>(oldCount, -1), std::vector<int>(newCount, -1)};
  auto pair = [&](size_t i, size_t j) {
    pairing.OldToNew[i] = static_cast<int>(j);
    pairing.NewToOld[j] = static_cast<int>(i);
  };
  // Equal entries at both ends pair at once: an edit touches a few entries of a long list.
  size_t head = 0;
  while (head < oldCount && head < newCount && cost(head, head) == 0) pair(head, head), ++head;
  size_t tail = 0;
  while (tail < oldCount - head && tail < newCount - head &&
         cost(oldCount - 1 - tail, newCount - 1 - tail) == 0) {
    pair(oldCount - 1 - tail, newCount - 1 - tail);
    ++tail;
  }
  const size_t n = oldCount - head - tail, m = newCount - head - tail;
  if (n == 0 || m == 0) return pairing;
  if (n * m > kMaxAlignmentCells) {
    for (size_t k = 0; k < std::min(n, m); ++k)
      if (cost(head + k, head + k) < 2 * unpaired) pair(head + k, head + k);
    return pairing;
  }

  // Costs row by row; the step taken into each cell is kept to walk the best path back.
  enum Step : uint8_t { kPair, kSkipOld, kSkipNew };
  std::vector<uint8_t> steps((n + 1) * (m + 1));
  std::vector<int64_t> above(m + 1), row(m + 1);
  for (size_t j = 0; j <= m; ++j) {
    above[j] = static_cast<int64_t>(j) * unpaired;
    steps[j] = kSkipNew;
  }
  for (size_t i = 1; i <= n; ++i) {
    row[0] = static_cast<int64_t>(i) * unpaired;
    steps[i * (m + 1)] = kSkipOld;
    for (size_t j = 1; j <= m; ++j) {
      int64_t best = above[j] + unpaired;
      uint8_t step = kSkipOld;
      if (row[j - 1] + unpaired < best) best = row[j - 1] + unpaired, step = kSkipNew;
      const int c = cost(head + i - 1, head + j - 1);
      if (c < 2 * unpaired && above[j - 1] + c <= best) best = above[j - 1] + c, step = kPair;
      row[j] = best;
      steps[i * (m + 1) + j] = step;
    }
    std::swap(above, row);
  }
  for (size_t i = n, j = m; i > 0 || j > 0;) {
    const uint8_t step = steps[i * (m + 1) + j];
    if (step == kPair) {
      pair(head + i - 1, head + j - 1);
      --i, --j;
    } else if (step == kSkipOld) {
      --i;
    } else {
      --j;
    }
  }
  return pairing;
}

}  // namespace slab
