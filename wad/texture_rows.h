#pragma once

#include <cstdint>

namespace tarnlow {

// Upper bound R - 1 of the row index of a texture section of `byteCount`
// bytes: byteCount / 256 / 3 - 1 in double precision, rounded to the nearest
// integer with halves going to the even one. A count that is a multiple of
// 768 gives exactly byteCount / 768 rows; 383 gives -1 (no row), 384 gives 0.
// Never fails: every 32-bit count lands well inside the 32-bit range.
std::int32_t TextureRowUpperBound(std::int32_t byteCount);

}  // namespace tarnlow
