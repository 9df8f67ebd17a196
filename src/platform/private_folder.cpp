#include "platform/private_folder.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/process_id.h"

namespace tavorine {

// Process ids come round again, on Windows within minutes, and a run that
// was killed leaves its folders behind: a name made of the id and a count
// met those leftovers until every try was taken. A random part cannot.
PrivateFolder::PrivateFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return;
  std::random_device entropy;
  std::mt19937_64 random(entropy() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    char unique[17];
    std::snprintf(unique, sizeof unique, "%016llx", static_cast<unsigned long long>(random()));
    const std::filesystem::path folder =
        base / ("Tavorine." + std::to_string(CurrentProcessId()) + "." + unique);
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
