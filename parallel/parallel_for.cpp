#include "parallel/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tarnlow {

void ParallelFor(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& body) {
  std::atomic<std::size_t> next{0};
  std::mutex failed;
  std::exception_ptr failure;
  const auto work = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      try {
        body(i);
      } catch (...) {
        // An exception must not leave a worker thread: that ends the
        // program. The first one is kept for the caller; the rest of the
        // items are skipped.
        const std::lock_guard<std::mutex> lock(failed);
        if (!failure) failure = std::current_exception();
        next = count;
      }
    }
  };
  const unsigned wanted = jobs > 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
  const std::size_t threads = std::min<std::size_t>(wanted, count);
  {
    std::vector<std::jthread> workers;
    for (std::size_t t = 1; t < threads; ++t) {
      try {
        workers.emplace_back(work);
      } catch (const std::system_error&) {
        break;
      }
    }
    work();
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tarnlow
