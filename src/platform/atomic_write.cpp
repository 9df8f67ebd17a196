#include "platform/atomic_write.h"

#include <cstdio>
#include <string>

#include "platform/windows_path.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tavorine {

namespace {

bool WriteWhole(const std::string& path, std::string_view contents) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool WriteFileAtomically(std::string_view windowsPath, std::string_view contents) {
  const std::string target = NativePath(windowsPath);
#ifdef _WIN32
  const std::string temporary = target + "." + std::to_string(_getpid()) + ".tmp";
#else
  const std::string temporary = target + "." + std::to_string(getpid()) + ".tmp";
#endif
  if (!WriteWhole(temporary, contents)) {
    std::remove(temporary.c_str());
    return false;
  }
#ifdef _WIN32
  const bool renamed = MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  const bool renamed = std::rename(temporary.c_str(), target.c_str()) == 0;
#endif
  if (!renamed) std::remove(temporary.c_str());
  return renamed;
}

}  // namespace tavorine
