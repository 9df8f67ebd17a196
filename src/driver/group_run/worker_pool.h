#pragma once
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "driver/group_run/worker_protocol.h"
#include "output/check_outcome.h"
#include "platform/process/child_process.h"
#include "platform/process/private_folder.h"
#include "platform/time/deadline.h"

namespace tavorine {

// What a worker did for one system: the records it printed while it checked
// it (output and run-log lines, in order), the trace and "SapRfc.ini" its
// library left in the worker's folder, and the system's outcome, none when
// the worker ended before it had one.
struct WorkerReport {
  std::vector<Record> printed;
  std::optional<std::string> trace;
  std::optional<std::string> sapRfcIni;
  std::optional<SystemOutcome> outcome;
  // When the worker ended without an outcome: its exit status (1: the
  // library's error report ended it; -1: it crashed or was ended).
  int exitStatus = -1;
};

// The workers of a group run: at most `size` at a time, each a process that
// checks one system after another, as they are handed to it, in a private
// folder of its own. Each system is known by its number in the listing. A
// worker that ends (a crash, the error report) is replaced when a system is
// handed out and no worker is free. Owns the workers: when the pool goes,
// every worker is ended and its folder removed.
class WorkerPool {
 public:
  // start: what every worker is told first (its folder aside).
  WorkerPool(std::size_t size, StartRequest start);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  enum class Given { ToWorker, AllBusy, NoWorker };
  // Hands the system to a free worker, starting one when there is room.
  // AllBusy when every worker is busy; NoWorker when no worker runs and none
  // can be started. When a worker cannot be started, why tells why in words,
  // and the pool starts no further worker: its size is then Size().
  Given Give(std::size_t system, const CheckRequest& request, std::string& why);
  std::size_t Size() const;

  enum class Awaited { Reported, Free, DeadlineCame };
  // Waits until the system's report is in, or (with untilFree) a worker is
  // free for another system, or the deadline has come.
  Awaited Await(std::size_t system, bool untilFree, Deadline deadline);
  // The system's report, once it is in; out of the pool.
  std::optional<WorkerReport> Take(std::size_t system);
  // Ends every worker at once, and waits until each has gone, so that its
  // folder can go too: the run is ending, and a worker may hang in the library.
  void EndAll();

 private:
  struct Worker;
  // Starts a worker; null with why filled when it cannot start.
  std::unique_ptr<Worker> StartWorker(std::string& why);
  void Listen(Worker& worker);
  bool HasFreeLocked() const;

  std::size_t size_;
  StartRequest start_;
  ChildProcessGroup group_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::map<std::size_t, WorkerReport> reports_;
  bool ending_ = false;
};

}  // namespace tavorine
