#include "platform/file_lock.h"

#include <thread>

#include "platform/windows_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tavorine {

namespace {

constexpr std::chrono::milliseconds kRetryInterval{25};

// Tries until tryLock succeeds or the wait is over.
template <typename TryLock>
FileLock::State WaitFor(TryLock tryLock, std::chrono::milliseconds longestWait) {
  const auto deadline = std::chrono::steady_clock::now() + longestWait;
  while (!tryLock()) {
    if (std::chrono::steady_clock::now() >= deadline) return FileLock::State::TimedOut;
    std::this_thread::sleep_for(kRetryInterval);
  }
  return FileLock::State::Held;
}

}  // namespace

#ifdef _WIN32

FileLock::FileLock(std::string_view windowsPath, std::chrono::milliseconds longestWait)
    : file_(CreateFileA(NativePath(windowsPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (file_ == INVALID_HANDLE_VALUE) return;
  state_ = WaitFor(
      [this] {
        OVERLAPPED whole{};
        return LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                          &whole) != 0;
      },
      longestWait);
}

FileLock::~FileLock() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  if (state_ == State::Held) {
    OVERLAPPED whole{};
    UnlockFileEx(file_, 0, MAXDWORD, MAXDWORD, &whole);
  }
  CloseHandle(file_);
}

#else

FileLock::FileLock(std::string_view windowsPath, std::chrono::milliseconds longestWait)
    : file_(open(NativePath(windowsPath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644)) {
  if (file_ < 0) return;
  state_ = WaitFor([this] { return flock(file_, LOCK_EX | LOCK_NB) == 0; }, longestWait);
}

FileLock::~FileLock() {
  if (file_ >= 0) close(file_);
}

#endif

}  // namespace tavorine
