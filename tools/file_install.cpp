#include "file_install.h"

#include <fcntl.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace tavorine {

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
int CreateNew(const fs::path& path) {
  return _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}
bool WriteAll(int file, std::string_view text) {
  return _write(file, text.data(), static_cast<unsigned>(text.size())) == static_cast<int>(text.size());
}
bool SyncAndClose(int file) {
  const bool synced = _commit(file) == 0;
  return _close(file) == 0 && synced;
}
#else
int CreateNew(const fs::path& path) { return open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600); }
bool WriteAll(int file, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(file, text.data(), text.size());
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}
bool SyncAndClose(int file) {
  const bool synced = fsync(file) == 0;
  return close(file) == 0 && synced;
}
#endif

fs::path TemporaryBeside(const fs::path& path) {
  std::ostringstream name;
  name << path.filename().string() << ".tmp" << std::hex << std::random_device{}();
  return path.parent_path() / name.str();
}

std::string Stored(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteTemporary(int file, std::string_view text) {
  const bool written = WriteAll(file, text);
  if (!SyncAndClose(file) || !written) return "cannot write the file (disk full?)";
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
  const int file = CreateNew(temporary);
  if (file < 0) return "cannot create a file in that folder";
  std::string failure = WriteTemporary(file, text);
  if (failure.empty()) failure = check(Stored(temporary));
  if (failure.empty()) failure = MoveIntoPlace(temporary, path, replaceExisting);
  if (!failure.empty()) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
  return failure;
}

}  // namespace tavorine
