#include "platform/file_lock.h"

#include "platform/windows_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tavorine {

#ifdef _WIN32

FileLock::FileLock(std::string_view windowsPath)
    : handle_(CreateFileA(NativePath(windowsPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  OVERLAPPED whole{};
  LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
}

FileLock::~FileLock() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  OVERLAPPED whole{};
  UnlockFileEx(handle_, 0, MAXDWORD, MAXDWORD, &whole);
  CloseHandle(handle_);
}

#else

FileLock::FileLock(std::string_view windowsPath)
    : descriptor_(open(NativePath(windowsPath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
  if (descriptor_ >= 0) flock(descriptor_, LOCK_EX);
}

FileLock::~FileLock() {
  if (descriptor_ >= 0) close(descriptor_);
}

#endif

}  // namespace tavorine
