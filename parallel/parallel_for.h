#pragma once

#include <cstddef>
#include <functional>

namespace tarnlow {

// Calls body(i) once for every i from 0 to count - 1, spread over `jobs`
// threads (0: one per core), the calling thread among them. Items are taken
// in order as threads come free, so callers that write item i's result to
// slot i get the same results in the same order however the work falls.
// When the system gives fewer threads than asked, the ones running do all
// the work. When body throws (out of memory, say), no new item is started
// and the first exception is thrown again here once every thread has
// stopped.
void ParallelFor(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& body);

}  // namespace tarnlow
