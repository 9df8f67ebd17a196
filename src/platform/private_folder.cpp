#include "platform/private_folder.h"

#include <atomic>
#include <filesystem>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tavorine {

namespace {

int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

}  // namespace

PrivateFolder::PrivateFolder() {
  static std::atomic<unsigned> made{0};
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        base / ("Tavorine." + std::to_string(ProcessId()) + "." + std::to_string(made++));
    if (std::filesystem::create_directory(folder, error)) {
      path_ = folder.string();
      return;
    }
  }
}

PrivateFolder::~PrivateFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

}  // namespace tavorine
