#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// A file opened for appending whose every Write lands whole at the end, also
// when other processes append to the same file at the same time (O_APPEND on
// POSIX, FILE_APPEND_DATA on Windows): a monitor starts many sensors at once in
// one working directory, and their log lines must not tear.
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
