// Work shared among threads: every item once, whatever the thread count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <vector>

#include "parallel/parallel_for.h"

namespace tarnlow::test {
namespace {

TEST(ParallelFor, EveryItemIsDoneOnceWhateverTheThreadCount) {
  const struct { std::size_t items; unsigned jobs; } cases[] = {{0, 0}, {1, 0}, {1000, 0}, {1000, 1}, {3, 8}, {1000, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.items << " items, " << c.jobs << " jobs");
    std::vector<std::atomic<int>> done(c.items);
    ParallelFor(c.items, c.jobs, [&](std::size_t i) { ++done[i]; });
    for (std::size_t i = 0; i < c.items; ++i) ASSERT_EQ(done[i].load(), 1) << "item " << i;
  }
}

TEST(ParallelFor, AnExceptionInAnyThreadReachesTheCaller) {
  for (const unsigned jobs : {1u, 4u}) {
    SCOPED_TRACE(jobs);
    std::atomic<int> started{0};
    EXPECT_THROW(ParallelFor(1000, jobs,
                             [&](std::size_t i) {
                               ++started;
                               if (i == 5) throw std::runtime_error("item 5");
                             }),
                 std::runtime_error);
    // Other threads may finish theirs meanwhile; alone, nothing after it starts.
    if (jobs == 1) {
      EXPECT_EQ(started.load(), 6);
    }
  }
}

}  // namespace
}  // namespace tarnlow::test
