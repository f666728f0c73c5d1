#pragma once

#include <cstddef>
#include <functional>

namespace tarnlow {

// Calls body(i) once for every i from 0 to count - 1, spread over `jobs`
// threads (0: one per core), the calling thread among them. Items are taken
// in order as threads come free, so callers that write item i's result to
// slot i get the same results in the same order however the work falls.
// `body` must not throw. When the system gives fewer threads than asked, the
// ones running do all the work.
void ParallelFor(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& body);

}  // namespace tarnlow
