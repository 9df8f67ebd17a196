#include "platform/input_file.h"

#include <algorithm>
#include <utility>

#include "platform/windows_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tavorine {

namespace {

struct OpenedFile {
  NativeFile file;
  std::uint64_t size;
};

#ifdef _WIN32

std::optional<OpenedFile> OpenRegular(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size)) {
    return OpenedFile{file, static_cast<std::uint64_t>(size.QuadPart)};
  }
  CloseHandle(file);
  return std::nullopt;
}

void CloseFile(NativeFile file) { CloseHandle(file); }

// Up to length bytes at offset into buffer; 0 at the end or on an error.
std::size_t ReadSome(NativeFile file, std::uint64_t offset, char* buffer, std::size_t length) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  return ReadFile(file, buffer, static_cast<DWORD>(length), &got, &at) ? got : 0;
}

#else

std::optional<OpenedFile> OpenRegular(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) return std::nullopt;
  struct stat status {};
  if (fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
    return OpenedFile{file, static_cast<std::uint64_t>(status.st_size)};
  }
  close(file);
  return std::nullopt;
}

void CloseFile(NativeFile file) { close(file); }

std::size_t ReadSome(NativeFile file, std::uint64_t offset, char* buffer, std::size_t length) {
  ssize_t got = 0;
  do {
    got = pread(file, buffer, length, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

#endif

}  // namespace

std::optional<InputFile> InputFile::Open(std::string_view windowsPath) {
  const std::optional<OpenedFile> opened = OpenRegular(NativePath(windowsPath));
  if (!opened) return std::nullopt;
  return InputFile(opened->file, opened->size);
}

std::string InputFile::ReadAt(std::uint64_t offset, std::size_t length) const {
  if (!open_ || offset >= size_) return {};
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const std::size_t more = ReadSome(file_, offset + got, bytes.data() + got, bytes.size() - got);
    if (more == 0) break;
    got += more;
  }
  bytes.resize(got);
  return bytes;
}

std::size_t InputFile::Read(char* buffer, std::size_t capacity) {
  const std::string bytes = ReadAt(position_, capacity);
  bytes.copy(buffer, bytes.size());
  position_ += bytes.size();
  return bytes.size();
}

InputFile::InputFile(InputFile&& other) noexcept
    : file_(other.file_), size_(other.size_), position_(other.position_), open_(std::exchange(other.open_, false)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    if (open_) CloseFile(file_);
    file_ = other.file_;
    size_ = other.size_;
    position_ = other.position_;
    open_ = std::exchange(other.open_, false);
  }
  return *this;
}

InputFile::~InputFile() {
  if (open_) CloseFile(file_);
}

bool IsReadableFile(std::string_view windowsPath) { return InputFile::Open(windowsPath).has_value(); }

WholeFile ReadWholeFile(std::string_view windowsPath) {
  std::optional<InputFile> file = InputFile::Open(windowsPath);
  if (!file) return {{}, WholeFileFault::Missing};
  if (file->TooLarge()) return {{}, WholeFileFault::TooLarge};
  return {file->ReadAt(0, static_cast<std::size_t>(file->Size())), std::nullopt};
}

}  // namespace tavorine
