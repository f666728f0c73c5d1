#include "wad/texture_rows.h"

#include <cmath>

namespace tarnlow {

std::int32_t TextureRowUpperBound(std::int32_t byteCount) {
  // Divide by 256 first and then by 3, as the file's writers did: the
  // rounding of the two divisions is part of the rule.
  const double value = static_cast<double>(byteCount) / 256.0 / 3.0 - 1.0;
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
  return static_cast<std::int32_t>(rounded);
}

}  // namespace tarnlow
