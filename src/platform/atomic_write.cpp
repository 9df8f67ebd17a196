#include "platform/atomic_write.h"

#include <cstdio>
#include <string>

#include "platform/process_id.h"
#include "platform/windows_path.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tavorine {

namespace {

// Only into a regular file, and without blocking: a FIFO put in the
// temporary file's place must not hold the run.
#ifdef _WIN32
bool WriteWhole(const std::string& path, std::string_view contents) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool written = GetFileType(file) == FILE_TYPE_DISK;
  while (written && !contents.empty()) {
    DWORD count = 0;
    written = WriteFile(file, contents.data(), static_cast<DWORD>(std::min<std::size_t>(contents.size(), 1 << 20)),
                        &count, nullptr) && count > 0;
    contents.remove_prefix(count);
  }
  return CloseHandle(file) && written;
}
#else
bool WriteWhole(const std::string& path, std::string_view contents) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (file < 0) return false;
  struct stat status {};
  bool written = fstat(file, &status) == 0 && S_ISREG(status.st_mode);
  while (written && !contents.empty()) {
    const ssize_t count = write(file, contents.data(), contents.size());
    if (count < 0 && errno == EINTR) continue;
    written = count > 0;
    if (written) contents.remove_prefix(static_cast<std::size_t>(count));
  }
  return close(file) == 0 && written;
}
#endif

std::string TemporaryPath(const std::string& target, Writers writers) {
  if (writers == Writers::OneAtATime) return target + ".tmp";
  return target + "." + std::to_string(CurrentProcessId()) + ".tmp";
}

}  // namespace

bool WriteFileAtomically(std::string_view windowsPath, std::string_view contents, Writers writers) {
  const std::string target = NativePath(windowsPath);
  const std::string temporary = TemporaryPath(target, writers);
  if (!WriteWhole(temporary, contents)) {
    std::remove(temporary.c_str());
    return false;
  }
#ifdef _WIN32
  const bool renamed = MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  const bool renamed = std::rename(temporary.c_str(), target.c_str()) == 0;
#endif
  if (!renamed) std::remove(temporary.c_str());
  return renamed;
}

}  // namespace tavorine
