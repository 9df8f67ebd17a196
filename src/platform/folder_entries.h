#pragma once
#include <string>
#include <string_view>
#include <vector>

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
  Native* native_;
};

// The names of the regular files of the folder a Windows path names, in
// sorted order; empty when it names no folder.
std::vector<std::string> FileNamesIn(std::string_view windowsFolder);

// Whether a Windows path names a folder.
bool IsFolder(std::string_view windowsPath);

}  // namespace tavorine
