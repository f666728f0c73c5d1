// Byte arrays large enough to come from their own allocation path: what is
// written stays, and arrays that cross between the paths as they grow or
// shrink free what they took the way they took it (the sanitizer build
// tells a mismatch).
#include <gtest/gtest.h>

#include "wad/bytes.h"
#include "wad/large_buffer.h"

namespace tarnlow {
namespace {

TEST(LargeBuffers, HoldWhatIsWrittenAcrossBothAllocationPaths) {
  Bytes large(kLargeBufferBytes + 3);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes copy = large;
  EXPECT_EQ(copy, large);

  Bytes small(large.begin(), large.begin() + 100);
  small.insert(small.end(), large.begin(), large.end());  // grows onto the large path
  EXPECT_EQ(small.size(), large.size() + 100);
  EXPECT_TRUE(std::equal(large.begin(), large.end(), small.begin() + 100));

  large.resize(100);
  large.shrink_to_fit();  // back onto the small path
  EXPECT_TRUE(std::equal(large.begin(), large.end(), copy.begin()));
}

}  // namespace
}  // namespace tarnlow
