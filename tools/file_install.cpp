#include "file_install.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "platform/files/native_file.h"

namespace tavorine {

namespace {

namespace fs = std::filesystem;

fs::path TemporaryBeside(const fs::path& path) {
  std::ostringstream name;
  name << path.filename().string() << ".tmp" << std::hex << std::random_device{}();
  return path.parent_path() / name.str();
}

std::string Stored(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteTemporary(NativeFile file, std::string_view text) {
  const bool written = WriteAll(file.Handle(), text) && FlushToDisk(file);
  if (!file.Close() || !written) return "cannot write the file (disk full?)";
  return {};
}

std::string MoveIntoPlace(const fs::path& temporary, const fs::path& path, bool replaceExisting) {
  // Asked once more right before the rename: the file may have appeared
  // while the password was being typed.
  if (!replaceExisting && Exists(path)) return "the file exists; give --force to replace it";
  std::error_code error;
  fs::rename(temporary, path, error);
  if (error) return "cannot put the file in place: " + error.message();
  return {};
}

}  // namespace

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

std::string InstallFile(const fs::path& path, std::string_view text, bool replaceExisting, const StoredCheck& check) {
  const fs::path temporary = TemporaryBeside(path);
  NativeFile file = CreateNewPrivateFile(temporary);
  if (!file.IsOpen()) return "cannot create a file in that folder";
  std::string failure = WriteTemporary(std::move(file), text);
  if (failure.empty()) failure = check(Stored(temporary));
  if (failure.empty()) failure = MoveIntoPlace(temporary, path, replaceExisting);
  if (!failure.empty()) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
  return failure;
}

}  // namespace tavorine
