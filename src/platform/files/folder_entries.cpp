#include "platform/files/folder_entries.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace tavorine {

#ifdef _WIN32

struct FolderEntries::Native {
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA entry{};
  bool pending = false;  // FindFirstFile has read the first entry already
};

FolderEntries::FolderEntries(const std::string& nativeFolder) : native_(std::make_unique<Native>()) {
  const std::string pattern = nativeFolder + (nativeFolder.empty() || nativeFolder.back() == '\\' ? "*" : "\\*");
  native_->find = FindFirstFileA(pattern.c_str(), &native_->entry);
  native_->pending = native_->find != INVALID_HANDLE_VALUE;
}

FolderEntries::~FolderEntries() {
  if (IsOpen()) FindClose(native_->find);
}

bool FolderEntries::IsOpen() const { return native_->find != INVALID_HANDLE_VALUE; }

bool FolderEntries::Next(std::string& name, bool& regularFile) {
  while (IsOpen()) {
    if (!native_->pending && !FindNextFileA(native_->find, &native_->entry)) return false;
    native_->pending = false;
    name = native_->entry.cFileName;
    if (name == "." || name == "..") continue;
    regularFile = (native_->entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    return true;
  }
  return false;
}

#else

struct FolderEntries::Native {
  DIR* folder = nullptr;
  std::string path;
};

FolderEntries::FolderEntries(const std::string& nativeFolder) : native_(std::make_unique<Native>()) {
  native_->path = nativeFolder.empty() ? "." : nativeFolder;
  native_->folder = opendir(native_->path.c_str());
}

FolderEntries::~FolderEntries() {
  if (IsOpen()) closedir(native_->folder);
}

bool FolderEntries::IsOpen() const { return native_->folder != nullptr; }

bool FolderEntries::Next(std::string& name, bool& regularFile) {
  while (IsOpen()) {
    const dirent* entry = readdir(native_->folder);
    if (entry == nullptr) return false;
    name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat status {};
    regularFile = entry->d_type == DT_REG ||
                  (entry->d_type == DT_UNKNOWN && lstat((native_->path + "/" + name).c_str(), &status) == 0 &&
                   S_ISREG(status.st_mode));
    return true;
  }
  return false;
}

#endif

}  // namespace tavorine
