#pragma once
#include <chrono>
#include <string>
#include <string_view>

#include "platform/files/file_lock.h"
#include "platform/files/native_file.h"

namespace tavorine {

// A line takes microseconds to append: a holder that keeps an append lock for
// seconds is stuck, and the appender goes on without it.
inline constexpr std::chrono::milliseconds kAppendLockLimit{2000};

// A file of lines opened for appending, whose every line lands whole at the
// end, also when other processes append to the same file at the same time: a
// monitor starts many sensors at once in one working directory, and their log
// lines must neither tear nor overwrite each other. Each append holds a lock
// on the file (on Windows on a byte far beyond any data, since not every
// Windows file system makes an append one step), and starts on a fresh line
// when the file does not end with a line feed: a line that a full disk or a
// killed writer left unfinished never joins the next one. A link in the
// file's place is not followed: the file does not open. Owns the open file.
class AppendFile {
 public:
  explicit AppendFile(std::string_view windowsPath) : file_(OpenForAppending(windowsPath)) {}

  bool IsOpen() const { return file_.IsOpen(); }
  // One write per line; a failed write is ignored, as a log must never end
  // a run. Another process that holds the lock for the whole of its limit
  // is passed over, here and at every later append of this object. False
  // when the run's deadline came first: then nothing was written.
  bool AppendLine(std::string_view line, const LockWait& wait);
  // Bytes as they are, in one write under the same lock: the lines of a file
  // that another program wrote (a worker's library trace).
  bool AppendBytes(std::string_view bytes, const LockWait& wait);

 private:
  // Writes what text gives (the bytes to append, knowing whether the file
  // ends mid-line) under the lock, or without it as told above.
  template <typename Text>
  bool Append(const Text& text, const LockWait& wait);

  NativeFile file_;
  bool lockStuck_ = false;
};

}  // namespace tavorine
