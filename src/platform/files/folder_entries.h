#pragma once
#include <memory>
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
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace tavorine
