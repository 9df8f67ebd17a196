#include "platform/text_file.h"

#include <cstdio>
#include <filesystem>

#include "platform/windows_path.h"

namespace tavorine {

namespace {

// A folder opens as a stream on some C libraries; it is never a readable file here.
bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

std::optional<std::string> ReadTextFile(std::string_view windowsPath) {
  const std::string path = NativePath(windowsPath);
  if (IsFolder(path)) return std::nullopt;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string text;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return text;
}

bool CanOpenForReading(std::string_view windowsPath) {
  const std::string path = NativePath(windowsPath);
  if (IsFolder(path)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

void DeleteRegularFile(std::string_view windowsPath) {
  const std::string path = NativePath(windowsPath);
  if (!IsFolder(path)) std::remove(path.c_str());
}

bool PieceReader::Next(std::string& piece) {
  if (text_.empty()) return false;
  piece.clear();
  std::size_t used = 0;
  while (used < text_.size() && piece.size() < maxChars_) {
    if (text_[used] == '\n') {
      ++used;
      break;
    }
    if (text_[used] == '\r' && used + 1 < text_.size() && text_[used + 1] == '\n') {
      used += 2;
      break;
    }
    piece += text_[used++];
  }
  // A full piece directly followed by its line end has left that line end for
  // the next read, which then yields an empty piece, as the C reader does.
  text_.remove_prefix(used);
  const std::size_t nul = piece.find('\0');
  if (nul != std::string::npos) piece.resize(nul);
  return true;
}

}  // namespace tavorine
