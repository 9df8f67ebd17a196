#include "platform/files/folder_entries.h"

#ifdef _WIN32
#include <windows.h>

#include <new>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavorine {

#ifdef _WIN32

namespace {

HANDLE FindHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

FolderEntries::FolderEntries(const std::string& nativeFolder) : folder_(nativeFolder) {
  static_assert(sizeof(WIN32_FIND_DATAA) <= kBufferSize);
  const std::string pattern = nativeFolder + (nativeFolder.empty() || nativeFolder.back() == '\\' ? "*" : "\\*");
  auto* entry = new (buffer_) WIN32_FIND_DATAA{};
  handle_ = reinterpret_cast<std::intptr_t>(FindFirstFileA(pattern.c_str(), entry));
  pending_ = IsOpen();
}

void FolderEntries::Close() {
  if (IsOpen()) FindClose(FindHandle(handle_));
  handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

bool FolderEntries::IsOpen() const { return FindHandle(handle_) != INVALID_HANDLE_VALUE; }

bool FolderEntries::Next(std::string& name, bool& regularFile) {
  auto* entry = reinterpret_cast<WIN32_FIND_DATAA*>(buffer_);
  while (IsOpen()) {
    if (!pending_ && !FindNextFileA(FindHandle(handle_), entry)) return false;
    pending_ = false;
    name = entry->cFileName;
    if (name == "." || name == "..") continue;
    regularFile = (entry->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    return true;
  }
  return false;
}

#else

// getdents64 straight into the buffer: readdir's opendir costs a look at
// the folder's status besides, and memory of its own.
FolderEntries::FolderEntries(const std::string& nativeFolder)
    : folder_(nativeFolder.empty() ? "." : nativeFolder),
      handle_(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC)) {}

void FolderEntries::Close() {
  if (IsOpen()) close(static_cast<int>(handle_));
  handle_ = -1;
}

bool FolderEntries::IsOpen() const { return handle_ >= 0; }

bool FolderEntries::Next(std::string& name, bool& regularFile) {
  while (IsOpen()) {
    if (at_ >= end_) {
      const ssize_t got = getdents64(static_cast<int>(handle_), buffer_, kBufferSize);
      if (got <= 0) {
        Close();
        return false;
      }
      at_ = 0;
      end_ = static_cast<std::size_t>(got);
    }
    const auto* entry = reinterpret_cast<const dirent64*>(buffer_ + at_);
    at_ += entry->d_reclen;
    name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat status {};
    regularFile = entry->d_type == DT_REG ||
                  (entry->d_type == DT_UNKNOWN && lstat((folder_ + "/" + name).c_str(), &status) == 0 &&
                   S_ISREG(status.st_mode));
    return true;
  }
  return false;
}

#endif

FolderEntries::~FolderEntries() { Close(); }

}  // namespace tavorine
