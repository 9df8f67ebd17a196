#pragma once
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "driver/worker_records.h"
#include "platform/child_process.h"
#include "platform/private_folder.h"

namespace tavorine {

// One system's worker: its process, its private working directory, and,
// once it has ended, what it printed and how it ended.
struct Worker {
  explicit Worker(const ChildProcessGroup& group);
  PrivateFolder folder;
  ChildProcess process;
  std::thread reader;
  std::string printed;  // its records
  int status = -1;      // its exit status, -1 when it did not end by itself
  bool ended = false;
};

// The workers of a listing run, at most `size` at a time, each known by the
// number of its system in the listing. Owns them all: a worker still running
// when the pool goes is ended.
class WorkerPool {
 public:
  explicit WorkerPool(std::size_t size) : size_(size) {}
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  bool HasRoom() const;
  // Starts a worker for the system, handing it the request (which names the
  // folder: request(folder)). False when no worker could be started.
  template <typename Request>
  bool Start(std::size_t system, const Request& request) {
    auto worker = std::make_unique<Worker>(group_);
    if (worker->folder.Path().empty() || !worker->process.Started()) return false;
    worker->process.Send(request(worker->folder.Path()));
    Watch(*worker);
    const std::lock_guard lock(mutex_);
    running_.emplace(system, std::move(worker));
    return true;
  }
  enum class Awaited { Ended, Room, DeadlineCame };
  // Waits until the worker of the system has ended (at once when it has no
  // worker), or, with untilRoom, until another ended and made room, or until
  // the deadline.
  Awaited AwaitEnd(std::size_t system, std::optional<std::chrono::steady_clock::time_point> deadline,
                   bool untilRoom);
  // The ended worker of the system, out of the pool; null when it has none.
  std::unique_ptr<Worker> Take(std::size_t system);
  // Ends every worker at once.
  void EndAll();
  // Ends every worker and removes them with their folders.
  void Close();

 private:
  void Watch(Worker& worker);
  bool HasRoomLocked() const;

  std::size_t size_;
  ChildProcessGroup group_;
  mutable std::mutex mutex_;
  std::condition_variable ended_;
  std::map<std::size_t, std::unique_ptr<Worker>> running_;
};

}  // namespace tavorine
