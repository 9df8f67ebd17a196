#include "platform/files/delete_file.h"

#include <cstdio>
#include <filesystem>

#include "platform/files/windows_path.h"

namespace tavorine {

void DeleteRegularFile(std::string_view windowsPath) {
  const std::string path = NativePath(windowsPath);
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) std::remove(path.c_str());
}

}  // namespace tavorine
