#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace tavorine {

// The entries of a folder, read one by one, "." and ".." left out. Owns the
// open folder. A folder that does not open has no entries.
class FolderEntries {
 public:
  explicit FolderEntries(const std::string& nativeFolder);
  ~FolderEntries();
  FolderEntries(const FolderEntries&) = delete;
  FolderEntries& operator=(const FolderEntries&) = delete;

  bool IsOpen() const;
  // The next entry's name, and whether it is a regular file; false at the end.
  bool Next(std::string& name, bool& regularFile);

 private:
  void Close();

  // What the system hands out lands here, in the object, not on the heap: a
  // look through a folder comes with every name not found as written, and
  // fresh memory costs more than the look. A few dozen names at a time: more
  // would only reach further into fresh stack.
  static constexpr std::size_t kBufferSize = 2048;
  std::string folder_;
  std::intptr_t handle_;  // a descriptor, or a find handle on Windows
  [[maybe_unused]] bool pending_ = false;  // Windows: the first entry is in the buffer already
  std::size_t at_ = 0;    // POSIX: the next record in the buffer, and its end
  std::size_t end_ = 0;
  alignas(8) char buffer_[kBufferSize];
};

}  // namespace tavorine
