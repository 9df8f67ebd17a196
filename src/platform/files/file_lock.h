#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/files/native_file.h"
#include "platform/time/deadline.h"

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

// What of a file a lock covers: all of it, or (on Windows) only a byte far
// beyond any data, so that a lock that serves as a mutex never stands in the
// way of the file's own reads and writes.
enum class LockSpan { WholeFile, BeyondData };

// An exclusive lock on an open file, waited for as wait says and held from
// construction to destruction. The system releases the lock of a process that
// ends in any way, so a killed holder blocks no one. Borrows the file.
class HeldLock {
 public:
  HeldLock(const NativeFile& file, LockSpan span, const LockWait& wait);
  ~HeldLock();
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

  LockState Result() const { return state_; }

 private:
  const NativeFile& file_;
  LockSpan span_;
  LockState state_ = LockState::Unavailable;
};

// An exclusive lock on a lock file of its own. Runs of the program started at
// the same time in one working directory wait for each other here.
class FileLock {
 public:
  FileLock(std::string_view windowsPath, const LockWait& wait);

  LockState Result() const { return lock_.Result(); }

 private:
  NativeFile file_;
  HeldLock lock_;
};

}  // namespace tavorine
