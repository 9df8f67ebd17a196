#include "driver/worker_pool.h"

#include <algorithm>

#include "driver/listing_worker.h"
#include "platform/input_file.h"

namespace tavorine {

namespace {

// A worker prints a system's lines, its run-log lines and its result:
// kilobytes. What goes beyond this is cut, and the result with it.
constexpr std::size_t kWorkerOutputLimit = 2 * kInputFileLimit;

}  // namespace

Worker::Worker(const ChildProcessGroup& group) : process(kListingWorkerWord, group) {}

WorkerPool::~WorkerPool() { Close(); }

void WorkerPool::Close() {
  EndAll();
  for (auto& [system, worker] : running_) {
    if (worker->reader.joinable()) worker->reader.join();
  }
  running_.clear();
}

bool WorkerPool::HasRoom() const {
  const std::lock_guard lock(mutex_);
  return HasRoomLocked();
}

bool WorkerPool::HasRoomLocked() const {
  const auto busy = std::count_if(running_.begin(), running_.end(), [](const auto& entry) { return !entry.second->ended; });
  return static_cast<std::size_t>(busy) < size_;
}

void WorkerPool::Watch(Worker& worker) {
  worker.reader = std::thread([this, &worker] {
    std::string printed = worker.process.ReadAll(kWorkerOutputLimit);
    const int status = worker.process.Wait();
    {
      const std::lock_guard lock(mutex_);
      worker.printed = std::move(printed);
      worker.status = status;
      worker.ended = true;
    }
    ended_.notify_all();
  });
}

WorkerPool::Awaited WorkerPool::AwaitEnd(std::size_t system,
                                         std::optional<std::chrono::steady_clock::time_point> deadline,
                                         bool untilRoom) {
  std::unique_lock lock(mutex_);
  const auto found = running_.find(system);
  if (found == running_.end()) return Awaited::Ended;
  const auto changed = [&] { return found->second->ended || (untilRoom && HasRoomLocked()); };
  if (!deadline) {
    ended_.wait(lock, changed);
  } else if (!ended_.wait_until(lock, *deadline, changed)) {
    return Awaited::DeadlineCame;
  }
  return found->second->ended ? Awaited::Ended : Awaited::Room;
}

std::unique_ptr<Worker> WorkerPool::Take(std::size_t system) {
  std::unique_ptr<Worker> worker;
  {
    const std::lock_guard lock(mutex_);
    const auto found = running_.find(system);
    if (found == running_.end()) return nullptr;
    worker = std::move(found->second);
    running_.erase(found);
  }
  worker->reader.join();
  return worker;
}

void WorkerPool::EndAll() {
  const std::lock_guard lock(mutex_);
  for (auto& [system, worker] : running_) worker->process.Kill();
}

}  // namespace tavorine
