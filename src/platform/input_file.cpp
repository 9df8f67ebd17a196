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

#ifdef _WIN32

std::optional<InputFile> InputFile::Open(std::string_view windowsPath) {
  const HANDLE handle =
      CreateFileA(NativePath(windowsPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
    CloseHandle(handle);
    return std::nullopt;
  }
  return InputFile(handle, static_cast<std::uint64_t>(size.QuadPart));
}

void InputFile::Close() { CloseHandle(handle_); }

std::string InputFile::ReadAt(std::uint64_t offset, std::size_t length) const {
  if (!open_ || offset >= size_) return {};
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)), '\0');
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (!ReadFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &got, &at)) got = 0;
  bytes.resize(got);
  return bytes;
}

#else

std::optional<InputFile> InputFile::Open(std::string_view windowsPath) {
  const int descriptor = open(NativePath(windowsPath).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return std::nullopt;
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    return std::nullopt;
  }
  return InputFile(descriptor, static_cast<std::uint64_t>(status.st_size));
}

void InputFile::Close() { close(handle_); }

std::string InputFile::ReadAt(std::uint64_t offset, std::size_t length) const {
  if (!open_ || offset >= size_) return {};
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = pread(handle_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

#endif

std::size_t InputFile::Read(char* buffer, std::size_t capacity) {
  const std::string bytes = ReadAt(position_, capacity);
  bytes.copy(buffer, bytes.size());
  position_ += bytes.size();
  return bytes.size();
}

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(other.handle_), size_(other.size_), position_(other.position_), open_(std::exchange(other.open_, false)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    if (open_) Close();
    handle_ = other.handle_;
    size_ = other.size_;
    position_ = other.position_;
    open_ = std::exchange(other.open_, false);
  }
  return *this;
}

InputFile::~InputFile() {
  if (open_) Close();
}

bool IsReadableFile(std::string_view windowsPath) { return InputFile::Open(windowsPath).has_value(); }

WholeFile ReadWholeFile(std::string_view windowsPath) {
  std::optional<InputFile> file = InputFile::Open(windowsPath);
  if (!file) return {{}, WholeFileFault::Missing};
  if (file->TooLarge()) return {{}, WholeFileFault::TooLarge};
  return {file->ReadAt(0, static_cast<std::size_t>(file->Size())), std::nullopt};
}

}  // namespace tavorine
