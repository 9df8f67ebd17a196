#include "platform/files/delete_file.h"

#include <cstdio>
#include <filesystem>

#include "platform/files/windows_path.h"

namespace tavorine {

void DeleteRegularFile(std::string_view windowsPath) {
  const std::optional<std::string> path = ExistingNativePath(windowsPath);
  std::error_code error;
  if (path && std::filesystem::is_regular_file(*path, error)) std::remove(path->c_str());
}

}  // namespace tavorine
