#include "platform/files/file_lock.h"

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
OVERLAPPED Where(LockSpan span) {
  OVERLAPPED where{};
  if (span == LockSpan::BeyondData) where.OffsetHigh = 0x7FFFFFFF;
  return where;
}

DWORD HighLength(LockSpan span) { return span == LockSpan::WholeFile ? MAXDWORD : 0; }
DWORD LowLength(LockSpan span) { return span == LockSpan::WholeFile ? MAXDWORD : 1; }

bool TryLock(const NativeFile& file, LockSpan span) {
  OVERLAPPED where = Where(span);
  return LockFileEx(file.Handle(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, LowLength(span),
                    HighLength(span), &where) != 0;
}

void Unlock(const NativeFile& file, LockSpan span) {
  OVERLAPPED where = Where(span);
  UnlockFileEx(file.Handle(), 0, LowLength(span), HighLength(span), &where);
}
#else
// flock locks the whole file; a lock that serves as a mutex hinders no read or write.
bool TryLock(const NativeFile& file, LockSpan) { return flock(file.Handle(), LOCK_EX | LOCK_NB) == 0; }

void Unlock(const NativeFile& file, LockSpan) { flock(file.Handle(), LOCK_UN); }
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

HeldLock::HeldLock(const NativeFile& file, LockSpan span, const LockWait& wait) : file_(file), span_(span) {
  if (file_.IsOpen()) state_ = WaitForLock([this] { return TryLock(file_, span_); }, wait);
}

HeldLock::~HeldLock() {
  if (state_ == LockState::Held) Unlock(file_, span_);
}

FileLock::FileLock(std::string_view windowsPath, const LockWait& wait)
    : file_(OpenLockFile(windowsPath)), lock_(file_, LockSpan::WholeFile, wait) {}

}  // namespace tavorine
