#include "platform/append_file.h"

#include "platform/windows_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavorine {

namespace {

// The line, after a line feed when the file's last byte is not one.
std::string OnFreshLine(std::string_view line, bool fileEndsMidLine) {
  std::string text = fileEndsMidLine ? "\n" : "";
  text += line;
  return text;
}

}  // namespace

#ifdef _WIN32

namespace {

// Locks serve as a mutex only: no write ever reaches this offset.
OVERLAPPED FarBeyondData() {
  OVERLAPPED beyond{};
  beyond.OffsetHigh = 0x7FFFFFFF;
  return beyond;
}

bool EndsMidLine(HANDLE handle) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle, &size) || size.QuadPart == 0) return false;
  OVERLAPPED last{};
  last.Offset = static_cast<DWORD>(size.QuadPart - 1);
  last.OffsetHigh = static_cast<DWORD>((size.QuadPart - 1) >> 32);
  char byte = '\n';
  DWORD got = 0;
  return ReadFile(handle, &byte, 1, &got, &last) && got == 1 && byte != '\n';
}

}  // namespace

// Read access, because LockFileEx and the look at the last byte need more than
// the right to append.
AppendFile::AppendFile(std::string_view windowsPath)
    : file_(CreateFileA(NativePath(windowsPath).c_str(), FILE_APPEND_DATA | FILE_READ_DATA,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

AppendFile::~AppendFile() {
  if (IsOpen()) CloseHandle(file_);
}

bool AppendFile::IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

void AppendFile::AppendLine(std::string_view line) {
  if (!IsOpen()) return;
  OVERLAPPED beyond = FarBeyondData();
  const bool locked = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond) != 0;
  const std::string text = OnFreshLine(line, EndsMidLine(file_));
  DWORD written = 0;
  WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  if (locked) UnlockFileEx(file_, 0, 1, 0, &beyond);
}

void AppendFile::AppendBytes(std::string_view bytes) {
  if (!IsOpen()) return;
  OVERLAPPED beyond = FarBeyondData();
  const bool locked = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond) != 0;
  DWORD written = 0;
  WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (locked) UnlockFileEx(file_, 0, 1, 0, &beyond);
}

#else

namespace {

bool EndsMidLine(int descriptor) {
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || status.st_size == 0) return false;
  char byte = '\n';
  return pread(descriptor, &byte, 1, status.st_size - 1) == 1 && byte != '\n';
}

}  // namespace

AppendFile::AppendFile(std::string_view windowsPath)
    : file_(open(NativePath(windowsPath).c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644)) {}

AppendFile::~AppendFile() {
  if (IsOpen()) close(file_);
}

bool AppendFile::IsOpen() const { return file_ >= 0; }

void AppendFile::AppendLine(std::string_view line) {
  if (!IsOpen()) return;
  const bool locked = flock(file_, LOCK_EX) == 0;
  const std::string text = OnFreshLine(line, EndsMidLine(file_));
  [[maybe_unused]] const ssize_t written = write(file_, text.data(), text.size());
  if (locked) flock(file_, LOCK_UN);
}

void AppendFile::AppendBytes(std::string_view bytes) {
  if (!IsOpen()) return;
  const bool locked = flock(file_, LOCK_EX) == 0;
  [[maybe_unused]] const ssize_t written = write(file_, bytes.data(), bytes.size());
  if (locked) flock(file_, LOCK_UN);
}

#endif

}  // namespace tavorine
