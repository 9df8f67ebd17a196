#pragma once
#include <chrono>
#include <string_view>

#include "platform/native_file.h"

namespace tavorine {

// An exclusive lock on a lock file, held from construction to destruction.
// Runs of the program started at the same time in one working directory wait
// for each other here, but never without end: one run stuck while it holds
// the lock must not stall every other sensor until the monitor kills them all.
// The system releases the lock of a process that ends in any way, so a killed
// holder blocks no one.
class FileLock {
 public:
  enum class State {
    Held,
    Unavailable,  // the lock file cannot be made: the holder goes on unprotected rather than fail its run
    TimedOut,     // another process held the lock for the whole wait
  };

  FileLock(std::string_view windowsPath, std::chrono::milliseconds longestWait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  State Result() const { return state_; }

 private:
  NativeFile file_;
  State state_ = State::Unavailable;
};

}  // namespace tavorine
