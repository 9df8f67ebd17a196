#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// A file opened for appending whose every Write lands whole at the end, also
// when other processes append to the same file at the same time (O_APPEND on
// POSIX; on Windows FILE_APPEND_DATA and, around each write, a lock on a byte
// far beyond any data, since not every Windows file system makes an append one
// step): a monitor starts many sensors at once in one working directory, and
// their log lines must neither tear nor overwrite each other.
class AppendFile {
 public:
  explicit AppendFile(std::string_view windowsPath);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  bool IsOpen() const;
  // One system call per text; errors are ignored, as a log must never end a run.
  void Write(std::string_view text);

 private:
#ifdef _WIN32
  void* handle_;
#else
  int descriptor_;
#endif
};

}  // namespace tavorine
