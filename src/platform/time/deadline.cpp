#include "platform/time/deadline.h"

namespace tavorine {

Alarm::Alarm(std::chrono::steady_clock::time_point at, std::function<void()> expire)
    : watcher_([this, at, expire = std::move(expire)] {
        std::unique_lock lock(mutex_);
        if (cancelled_.wait_until(lock, at, [this] { return done_; })) return;
        lock.unlock();
        expire();
      }) {}

Alarm::~Alarm() {
  {
    const std::lock_guard lock(mutex_);
    done_ = true;
  }
  cancelled_.notify_all();
  watcher_.join();
}

}  // namespace tavorine
