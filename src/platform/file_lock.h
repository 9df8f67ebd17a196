#pragma once
#include <string_view>

namespace tavorine {

// An exclusive lock on a lock file, held from construction to destruction.
// Runs of the program started at the same time in one working directory wait
// for each other here. Without a lock (the file cannot be made) the holder
// goes on unprotected rather than fail its run.
class FileLock {
 public:
  explicit FileLock(std::string_view windowsPath);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
#ifdef _WIN32
  void* handle_;
#else
  int descriptor_;
#endif
};

}  // namespace tavorine
