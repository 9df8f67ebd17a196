#include "platform/append_file.h"

#include "platform/windows_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavorine {

#ifdef _WIN32

namespace {

// Locks serve as a mutex only: no write ever reaches this offset.
OVERLAPPED FarBeyondData() {
  OVERLAPPED beyond{};
  beyond.OffsetHigh = 0x7FFFFFFF;
  return beyond;
}

}  // namespace

// Read access, because LockFileEx needs more than the right to append.
AppendFile::AppendFile(std::string_view windowsPath)
    : handle_(CreateFileA(NativePath(windowsPath).c_str(), FILE_APPEND_DATA | FILE_READ_DATA,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

AppendFile::~AppendFile() {
  if (IsOpen()) CloseHandle(handle_);
}

bool AppendFile::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

void AppendFile::Write(std::string_view text) {
  if (!IsOpen()) return;
  OVERLAPPED beyond = FarBeyondData();
  const bool locked = LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond) != 0;
  DWORD written = 0;
  WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  if (locked) UnlockFileEx(handle_, 0, 1, 0, &beyond);
}

#else

AppendFile::AppendFile(std::string_view windowsPath)
    : descriptor_(open(NativePath(windowsPath).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644)) {}

AppendFile::~AppendFile() {
  if (IsOpen()) close(descriptor_);
}

bool AppendFile::IsOpen() const { return descriptor_ >= 0; }

void AppendFile::Write(std::string_view text) {
  if (!IsOpen()) return;
  [[maybe_unused]] const ssize_t written = write(descriptor_, text.data(), text.size());
}

#endif

}  // namespace tavorine
