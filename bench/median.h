// The median the benchmark programs report: the middle value, or the mean of
// the two middle ones; 0 for no values.
#pragma once

#include <algorithm>
#include <vector>

namespace bench {

inline double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace bench
