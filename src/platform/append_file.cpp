#include "platform/append_file.h"

#ifdef _WIN32
#include <windows.h>
#else
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

#ifdef _WIN32

// Locks serve as a mutex only: no write ever reaches this offset.
OVERLAPPED FarBeyondData() {
  OVERLAPPED beyond{};
  beyond.OffsetHigh = 0x7FFFFFFF;
  return beyond;
}

bool TryLock(HANDLE file) {
  OVERLAPPED beyond = FarBeyondData();
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &beyond) != 0;
}

void Unlock(HANDLE file) {
  OVERLAPPED beyond = FarBeyondData();
  UnlockFileEx(file, 0, 1, 0, &beyond);
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

void WriteOnce(HANDLE file, const std::string& text) {
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

#else

bool TryLock(int file) { return flock(file, LOCK_EX | LOCK_NB) == 0; }

void Unlock(int file) { flock(file, LOCK_UN); }

bool EndsMidLine(int descriptor) {
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || status.st_size == 0) return false;
  char byte = '\n';
  return pread(descriptor, &byte, 1, status.st_size - 1) == 1 && byte != '\n';
}

void WriteOnce(int file, const std::string& text) {
  [[maybe_unused]] const ssize_t written = write(file, text.data(), text.size());
}

#endif

}  // namespace

template <typename Text>
bool AppendFile::Append(const Text& text, const LockWait& wait) {
  if (!IsOpen()) return true;
  const NativeHandle file = file_.Handle();
  LockWait once = wait;
  if (lockStuck_) once.ownLimit = {};
  const LockState state = WaitForLock([file] { return TryLock(file); }, once);
  if (state == LockState::DeadlineCame) return false;
  lockStuck_ = state != LockState::Held;
  WriteOnce(file, text(file));
  if (state == LockState::Held) Unlock(file);
  return true;
}

bool AppendFile::AppendLine(std::string_view line, const LockWait& wait) {
  return Append([line](NativeHandle file) { return OnFreshLine(line, EndsMidLine(file)); }, wait);
}

bool AppendFile::AppendBytes(std::string_view bytes, const LockWait& wait) {
  return Append([bytes](NativeHandle) { return std::string(bytes); }, wait);
}

}  // namespace tavorine
