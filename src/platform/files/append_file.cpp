#include "platform/files/append_file.h"

#ifdef _WIN32
#include <windows.h>
#else
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
  LockWait once = wait;
  if (lockStuck_) once.ownLimit = {};
  const HeldLock lock(file_, LockSpan::BeyondData, once);
  if (lock.Result() == LockState::DeadlineCame) return false;
  lockStuck_ = lock.Result() != LockState::Held;
  WriteOnce(file_.Handle(), text(file_.Handle()));
  return true;
}

bool AppendFile::AppendLine(std::string_view line, const LockWait& wait) {
  return Append([line](NativeHandle file) { return OnFreshLine(line, EndsMidLine(file)); }, wait);
}

bool AppendFile::AppendBytes(std::string_view bytes, const LockWait& wait) {
  return Append([bytes](NativeHandle) { return std::string(bytes); }, wait);
}

}  // namespace tavorine
