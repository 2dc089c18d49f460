// Combinations, permutations and the nearest array element.
#include <cmath>
#include <cstdlib>

#include "kyn/dstruct/checksums.h"
#include "kyn/univconst.h"

namespace kyn {

namespace {

// Step A(j) of the permutation order on P[1..m]; changes P only when it
// returns true.
bool PermStep(TCombination& P, int m, int j) {
  if (j <= 1) return false;
  const int e = m + 1 - j;
  int q = 0;
  for (int i = 1; i <= m; ++i)
    if (P[static_cast<size_t>(i)] == e) {
      q = i;
      break;
    }
  if (q == 0 || q > j) return false;  // P is not a permutation of 1..m
  if (q < j) {
    std::swap(P[static_cast<size_t>(q)], P[static_cast<size_t>(q) + 1]);
    return true;
  }
  if (!PermStep(P, m, j - 1)) return false;
  for (int t = j; t >= 2; --t) P[static_cast<size_t>(t)] = P[static_cast<size_t>(t) - 1];
  P[1] = static_cast<uint8_t>(e);
  return true;
}

}  // namespace

bool NextCombination(TCombination& C, int32_t N) {
  const int k = C[0];
  if (k < 1 || N > 255 || k > N) return false;
  for (int i = k; i >= 1; --i) {
    if (C[static_cast<size_t>(i)] < N - k + i) {
      const int base = C[static_cast<size_t>(i)] + 1;
      for (int j = i; j <= k; ++j) C[static_cast<size_t>(j)] = static_cast<uint8_t>(base + (j - i));
      return true;
    }
  }
  return false;
}

bool NextPermutation(TCombination& P) {
  const int m = P[0];
  return PermStep(P, m, m);
}

int32_t IndexOfNearestArrayValue(double X, const TDoubleArray& Arr) {
  double best = static_cast<double>(uc_MaxDouble);
  int32_t result = -1;
  for (size_t i = 0; i < Arr.size(); ++i) {
    const double d = std::fabs(Arr[i] - X);
    if (d < best) {
      best = d;
      result = static_cast<int32_t>(i);
    }
  }
  return result;
}

int32_t IndexOfNearestArrayValue(int32_t X, const TIntArray& Arr) {
  double best = static_cast<double>(uc_MaxDouble);
  int32_t result = -1;
  for (size_t i = 0; i < Arr.size(); ++i) {
    const double d = static_cast<double>(std::llabs(static_cast<int64_t>(Arr[i]) - X));
    if (d < best) {
      best = d;
      result = static_cast<int32_t>(i);
    }
  }
  return result;
}

}  // namespace kyn
