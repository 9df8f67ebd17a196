#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/deadline.h"
#include "platform/native_file.h"

namespace tavorine {

// How long a process waits for a lock that another process holds: never
// without end, since one run stuck while it holds a lock must not stall every
// other sensor until the monitor kills them all. The lock's own limit, and
// the run's deadline when that comes first.
struct LockWait {
  std::chrono::milliseconds ownLimit;
  Deadline deadline;
};

enum class LockState {
  Held,
  Unavailable,   // the lock file cannot be made: the holder goes on unprotected rather than fail its run
  TimedOut,      // another process held the lock for the lock's whole limit
  DeadlineCame,  // the run's deadline came first: the run is ending
};

// Calls tryLock until it succeeds or the wait is over.
LockState WaitForLock(const std::function<bool()>& tryLock, const LockWait& wait);

// An exclusive lock on a lock file, held from construction to destruction.
// Runs of the program started at the same time in one working directory wait
// for each other here. The system releases the lock of a process that ends in
// any way, so a killed holder blocks no one.
class FileLock {
 public:
  FileLock(std::string_view windowsPath, const LockWait& wait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  LockState Result() const { return state_; }

 private:
  NativeFile file_;
  LockState state_ = LockState::Unavailable;
};

}  // namespace tavorine
