#include "platform/private_folder.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "platform/process_id.h"

namespace tavorine {

// Process ids come round again, on Windows within minutes, and a run that
// was killed leaves its folders behind: a name made of the id and a count
// met those leftovers until every try was taken. A random part cannot.
PrivateFolder::PrivateFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return;
  const std::string ours = "Tavorine." + std::to_string(CurrentProcessId()) + ".";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char unique[17];
    std::snprintf(unique, sizeof unique, "%08x%08x", static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    const std::filesystem::path folder = base / (ours + unique);
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
