#include "platform/files/input_file.h"

#include <algorithm>
#include <utility>

#include "platform/files/windows_path.h"

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
  NativeFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.IsOpen() || GetFileType(file.Handle()) != FILE_TYPE_DISK || !GetFileSizeEx(file.Handle(), &size)) {
    return std::nullopt;
  }
  return OpenedFile{std::move(file), static_cast<std::uint64_t>(size.QuadPart)};
}

// Up to length bytes at offset into buffer; 0 at the end or on an error.
std::size_t ReadSome(NativeHandle file, std::uint64_t offset, char* buffer, std::size_t length) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  return ReadFile(file, buffer, static_cast<DWORD>(length), &got, &at) ? got : 0;
}

#else

std::optional<OpenedFile> OpenRegular(const std::string& path) {
  NativeFile file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat status {};
  if (!file.IsOpen() || fstat(file.Handle(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return OpenedFile{std::move(file), static_cast<std::uint64_t>(status.st_size)};
}

std::size_t ReadSome(NativeHandle file, std::uint64_t offset, char* buffer, std::size_t length) {
  ssize_t got = 0;
  do {
    got = pread(file, buffer, length, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

#endif

}  // namespace

std::optional<InputFile> InputFile::Open(std::string_view windowsPath) {
  const std::optional<std::string> path = ExistingNativePath(windowsPath);
  if (!path) return std::nullopt;
  return OpenNative(*path);
}

std::optional<InputFile> InputFile::OpenNative(const std::string& nativePath) {
  std::optional<OpenedFile> opened = OpenRegular(nativePath);
  if (!opened) return std::nullopt;
  return InputFile(std::move(opened->file), opened->size);
}

std::string InputFile::ReadAt(std::uint64_t offset, std::size_t length) const {
  if (!file_.IsOpen() || offset >= size_) return {};
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset)), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const std::size_t more = ReadSome(file_.Handle(), offset + got, bytes.data() + got, bytes.size() - got);
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


WholeFile ReadWholeFile(std::string_view windowsPath) { return ReadWholeFile(InputFile::Open(windowsPath)); }

WholeFile ReadWholeFile(std::optional<InputFile> file) {
  if (!file) return {{}, WholeFileFault::Missing};
  if (file->TooLarge()) return {{}, WholeFileFault::TooLarge};
  return {file->ReadAt(0, static_cast<std::size_t>(file->Size())), std::nullopt};
}

}  // namespace tavorine
