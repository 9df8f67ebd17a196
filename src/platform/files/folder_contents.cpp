#include "platform/files/folder_contents.h"

#include <algorithm>

#include "platform/files/folder_entries.h"
#include "platform/files/windows_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace tavorine {

std::vector<std::string> FileNamesIn(std::string_view windowsFolder) {
  std::vector<std::string> names;
  FolderEntries entries(NativePath(windowsFolder));
  std::string name;
  bool regularFile = false;
  while (entries.Next(name, regularFile)) {
    if (regularFile) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

#ifdef _WIN32

bool IsFolder(std::string_view windowsPath) {
  const DWORD attributes = GetFileAttributesA(NativePath(windowsPath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

#else

bool IsFolder(std::string_view windowsPath) {
  struct stat status {};
  return stat(NativePath(windowsPath).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

#endif

}  // namespace tavorine
