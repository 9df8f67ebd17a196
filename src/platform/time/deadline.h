#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace tavorine {

// The moment a run with ",TIMEOUT=" must end; none without it. Every wait of
// such a run ends there at the latest.
using Deadline = std::optional<std::chrono::steady_clock::time_point>;

// Calls expire on a thread of its own when the point in time comes before
// the object goes; a run stuck in a library call can then still end with a
// message of its own instead of being killed without a word. The owner
// decides what expire does; it is called at most once. Owns its thread,
// which it joins when it goes.
class Alarm {
 public:
  Alarm(std::chrono::steady_clock::time_point at, std::function<void()> expire);
  ~Alarm();
  Alarm(const Alarm&) = delete;
  Alarm& operator=(const Alarm&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable cancelled_;
  bool done_ = false;
  std::thread watcher_;
};

}  // namespace tavorine
