// Rounding of the floats the fourth and fifth game store to the integers of the model.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace slab {

// The nearest T, halves to the even neighbour (1023.5 gives 1024, 1022.5 gives 1022); values
// outside T's range are held at its ends, NaN gives 0.
template <typename T>
T RoundEven(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint rounds halves to even in the default rounding mode.
  double r = std::nearbyint(value);
  r = std::clamp(r, static_cast<double>(std::numeric_limits<T>::min()),
                 static_cast<double>(std::numeric_limits<T>::max()));
  return static_cast<T>(r);
}

}  // namespace slab
