#pragma once

#include <QThreadPool>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace tarnlow::ui {

// Work that would freeze the window (checking a large WAD) run on Qt's
// thread pool, its result collected on the window's thread by asking.
//
// Only the latest work counts: starting new work forgets the one before,
// whose result is dropped when it comes, so a newer request supersedes an
// older one. The work must own everything it reads (copies or shared
// pointers): the owner of the task may be gone before it ends. Qt waits for
// the pool's threads before the program ends.
template <typename Result>
class BackgroundTask {
 public:
  // Runs `work` on a pool thread.
  void start(std::function<Result()> work) {
    auto slot = std::make_shared<Slot>();
    slot_ = slot;
    QThreadPool::globalInstance()->start([slot, work = std::move(work)] {
      std::optional<Result> result;
      std::exception_ptr failure;
      try {
        result = work();
      } catch (...) {
        failure = std::current_exception();
      }
      const std::lock_guard<std::mutex> lock(slot->mutex);
      slot->result = std::move(result);
      slot->failure = failure;
      slot->done = true;
    });
  }

  // Forgets the work under way: its result will never be taken.
  void forget() { slot_.reset(); }

  // True while the latest work has been started and its result not taken.
  bool pending() const { return slot_ != nullptr; }

  // The latest work's result once it has finished (then the task is no
  // longer pending); nothing while it runs or when none was started. What
  // the work threw is thrown here, on the caller's thread.
  std::optional<Result> take() {
    if (!slot_) return std::nullopt;
    std::unique_lock<std::mutex> lock(slot_->mutex);
    if (!slot_->done) return std::nullopt;
    std::optional<Result> result = std::move(slot_->result);
    const std::exception_ptr failure = slot_->failure;
    lock.unlock();
    slot_.reset();
    if (failure) std::rethrow_exception(failure);
    return result;
  }

 private:
  struct Slot {
    std::mutex mutex;
    bool done = false;
    std::optional<Result> result;
    std::exception_ptr failure;
  };
  std::shared_ptr<Slot> slot_;
};

}  // namespace tarnlow::ui
