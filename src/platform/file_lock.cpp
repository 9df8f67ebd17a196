#include "platform/file_lock.h"

#include <algorithm>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/file.h>
#endif

namespace tavorine {

namespace {

constexpr std::chrono::milliseconds kRetryInterval{25};

#ifdef _WIN32
bool TryLockWhole(HANDLE file) {
  OVERLAPPED whole{};
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}
#endif

}  // namespace

LockState WaitForLock(const std::function<bool()>& tryLock, const LockWait& wait) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point ownEnd = Clock::now() + wait.ownLimit;
  const bool deadlineFirst = wait.deadline && *wait.deadline <= ownEnd;
  const Clock::time_point end = deadlineFirst ? *wait.deadline : ownEnd;
  while (!tryLock()) {
    const Clock::time_point now = Clock::now();
    if (now >= end) return deadlineFirst ? LockState::DeadlineCame : LockState::TimedOut;
    std::this_thread::sleep_for(std::min<Clock::duration>(kRetryInterval, end - now));
  }
  return LockState::Held;
}

#ifdef _WIN32

FileLock::FileLock(std::string_view windowsPath, const LockWait& wait) : file_(OpenLockFile(windowsPath)) {
  if (file_.IsOpen()) state_ = WaitForLock([this] { return TryLockWhole(file_.Handle()); }, wait);
}

FileLock::~FileLock() {
  if (state_ != LockState::Held) return;
  OVERLAPPED whole{};
  UnlockFileEx(file_.Handle(), 0, MAXDWORD, MAXDWORD, &whole);
}

#else

FileLock::FileLock(std::string_view windowsPath, const LockWait& wait) : file_(OpenLockFile(windowsPath)) {
  if (file_.IsOpen()) state_ = WaitForLock([this] { return flock(file_.Handle(), LOCK_EX | LOCK_NB) == 0; }, wait);
}

// Closing the file releases the lock.
FileLock::~FileLock() = default;

#endif

}  // namespace tavorine
