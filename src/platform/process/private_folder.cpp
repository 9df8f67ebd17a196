#include "platform/process/private_folder.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/files/native_file.h"
#include "platform/process/process_id.h"

namespace tavorine {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "Tavorine.";
constexpr std::size_t kRandomDigits = 16;
constexpr auto kStaleAge = std::chrono::hours(1);

// The process id in a private folder's name; empty when the name has not the pattern.
std::optional<int> ProcessIdInName(std::string_view name) {
  if (!name.starts_with(kPrefix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || name.size() - dot - 1 != kRandomDigits) return std::nullopt;
  if (name.substr(dot + 1).find_first_not_of("0123456789abcdef") != std::string_view::npos) return std::nullopt;
  int id = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dot, id);
  if (error != std::errc() || end != name.data() + dot || dot == 0 || name[0] == '-') return std::nullopt;
  return id;
}

bool IsStale(const fs::directory_entry& entry) {
  std::error_code error;
  const std::optional<int> id = ProcessIdInName(entry.path().filename().string());
  if (!id || !NamesItself(entry.path().string()) || !entry.is_directory(error)) return false;
  const auto written = fs::last_write_time(entry.path(), error);
  if (error || fs::file_time_type::clock::now() - written < kStaleAge) return false;
  return !ProcessIsAlive(*id);
}

// Removes the folder and what is in it, but no link and nothing a link leads
// to: a folder that holds a link stays.
void RemoveTree(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    if (!NamesItself(entry->path().string())) continue;
    std::error_code ignored;
    if (entry->is_directory(ignored)) {
      RemoveTree(entry->path());
    } else {
      fs::remove(entry->path(), ignored);
    }
  }
  fs::remove(folder, error);
}

}  // namespace

// Process ids come round again, on Windows within minutes, and a run that
// was killed leaves its folders behind: a name made of the id and a count
// met those leftovers until every try was taken. A random part cannot.
PrivateFolder::PrivateFolder() {
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  if (error) {
    failure_ = "there is no folder for temporary files (" + error.message() + ")";
    return;
  }
  const std::string ours = std::string(kPrefix) + std::to_string(CurrentProcessId()) + ".";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char unique[kRandomDigits + 1];
    std::snprintf(unique, sizeof unique, "%08x%08x", static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    const fs::path folder = base / (ours + unique);
    if (fs::create_directory(folder, error)) {
      path_ = folder.string();
      return;
    }
    if (error) break;
  }
  failure_ = "no folder can be made in " + base.string() + (error ? " (" + error.message() + ")" : "");
}

PrivateFolder::~PrivateFolder() { Remove(); }

void PrivateFolder::Remove() {
  if (path_.empty() || removed_.exchange(true)) return;
  RemoveTree(path_);
}

bool IsPrivateFolderOf(const std::string& path, std::string_view processId) {
  std::error_code error;
  const fs::path folder(path);
  const fs::path base = fs::temp_directory_path(error);
  const std::optional<int> id = ProcessIdInName(folder.filename().string());
  // Exactly as the parent makes the path: nothing that climbs out of the folder for temporary files.
  if (error || !id || std::to_string(*id) != processId || base / folder.filename() != folder) return false;
  return NamesItself(path) && fs::is_directory(folder, error);
}

void RemoveStalePrivateFolders() {
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  if (error) return;
  for (fs::directory_iterator entry(base, error), end; !error && entry != end; entry.increment(error)) {
    if (IsStale(*entry)) RemoveTree(entry->path());
  }
}

}  // namespace tavorine
