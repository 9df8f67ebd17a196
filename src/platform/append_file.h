#pragma once
#include <string>
#include <string_view>

#include "platform/native_file.h"

namespace tavorine {

// A file of lines opened for appending, whose every line lands whole at the
// end, also when other processes append to the same file at the same time: a
// monitor starts many sensors at once in one working directory, and their log
// lines must neither tear nor overwrite each other. Each append holds a lock
// on the file (on Windows on a byte far beyond any data, since not every
// Windows file system makes an append one step), and starts on a fresh line
// when the file does not end with a line feed: a line that a full disk or a
// killed writer left unfinished never joins the next one. Owns the open file.
class AppendFile {
 public:
  explicit AppendFile(std::string_view windowsPath);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  bool IsOpen() const;
  // One write per line; errors are ignored, as a log must never end a run.
  void AppendLine(std::string_view line);
  // Bytes as they are, in one write under the same lock: the lines of a file
  // that another program wrote (a worker's library trace).
  void AppendBytes(std::string_view bytes);

 private:
  NativeFile file_;
};

}  // namespace tavorine
