#include "platform/random_access_file.h"

#include <filesystem>

#include "platform/windows_path.h"

namespace tavorine {

namespace {

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

std::string TextSource::Read(std::uint64_t offset, std::size_t length) const {
  if (offset >= text_.size()) return {};
  return std::string(text_.substr(static_cast<std::size_t>(offset), length));
}

FileSource::FileSource(std::string_view windowsPath) {
  const std::string path = NativePath(windowsPath);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return;
  const auto size = std::filesystem::file_size(path, error);
  size_ = error ? 0 : size;
}

FileSource::~FileSource() {
  if (file_ != nullptr) std::fclose(file_);
}

std::string FileSource::Read(std::uint64_t offset, std::size_t length) const {
  if (file_ == nullptr || offset >= size_ || !SeekTo(file_, offset)) return {};
  std::string bytes(length, '\0');
  bytes.resize(std::fread(bytes.data(), 1, length, file_));
  return bytes;
}

}  // namespace tavorine
