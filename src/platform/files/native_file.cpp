#include "platform/files/native_file.h"

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

NativeFile::NativeFile(NativeFile&& other) noexcept : handle_(std::exchange(other.handle_, None())) {}

NativeHandle NativeFile::Release() { return std::exchange(handle_, None()); }

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, None());
  }
  return *this;
}

#ifdef _WIN32

NativeHandle NativeFile::None() { return INVALID_HANDLE_VALUE; }

// Some calls give no handle as null, others as INVALID_HANDLE_VALUE.
NativeFile::NativeFile(NativeHandle handle) : handle_(handle == nullptr ? None() : handle) {}

bool NativeFile::IsOpen() const { return handle_ != None(); }

bool NativeFile::Close() {
  const bool closed = !IsOpen() || CloseHandle(handle_) != 0;
  handle_ = None();
  return closed;
}

std::size_t PipeStream::Read(char* buffer, std::size_t capacity) {
  DWORD got = 0;
  const auto wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, 1 << 20));
  return ReadFile(pipe_, buffer, wanted, &got, nullptr) ? got : 0;
}

bool WriteAll(NativeHandle file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

namespace {

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
  if (length >= path.size()) {
    path.resize(length);
    length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
  }
  path.resize(length < path.size() ? length : 0);
  return path;
}

std::wstring Widened(std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return wide;
}

// Whether the open file is the entry of its folder that the path names, and
// not what a link there leads to: the system's final path of the file, where
// every link is followed, must be the folder's own final path and the name.
// (Wine shows a link to a file as the file itself: only the final path tells.)
bool IsInPlace(HANDLE file, const std::string& path) {
  if (GetFileType(file) != FILE_TYPE_DISK) return false;
  const std::size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const NativeFile folderHandle(CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folderHandle.IsOpen()) return false;
  std::wstring expected = FinalPath(folderHandle.Handle());
  if (expected.empty()) return false;
  if (expected.back() != L'\\') expected += L'\\';
  expected += Widened(slash == std::string::npos ? path : path.substr(slash + 1));
  const std::wstring actual = FinalPath(file);
  return CompareStringOrdinal(actual.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL;
}

NativeFile Opened(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
  return NativeFile(CreateFileA(path.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The file as it is, or a new one; never one a link leads to.
NativeFile OpenedOrCreated(std::string_view windowsPath, DWORD access, DWORD sharing) {
  const std::string path = NativePath(windowsPath);
  NativeFile file = Opened(path, access, sharing, OPEN_EXISTING);
  if (!file.IsOpen() && GetLastError() == ERROR_FILE_NOT_FOUND) file = Opened(path, access, sharing, CREATE_NEW);
  if (file.IsOpen() && !IsInPlace(file.Handle(), path)) file.Close();
  return file;
}

}  // namespace

NativeFile OpenForAppending(std::string_view windowsPath) {
  // Read access too: LockFileEx and the look at the last byte need more than the right to append.
  return OpenedOrCreated(windowsPath, FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

NativeFile OpenLockFile(std::string_view windowsPath) {
  return OpenedOrCreated(windowsPath, GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}

NativeFile CreateNewPrivateFile(const std::filesystem::path& path) {
  return NativeFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FlushToDisk(const NativeFile& file) { return FlushFileBuffers(file.Handle()) != 0; }

bool NamesItself(const std::string& nativePath) {
  const DWORD attributes = GetFileAttributesA(nativePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
  const NativeFile file(CreateFileA(nativePath.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.IsOpen() && IsInPlace(file.Handle(), nativePath);
}

// Emptied only once known to be in place: opened with TRUNCATE_EXISTING, a
// file that a link leads to would lose its contents before the look.
NativeFile OpenEmptyFile(std::string_view windowsPath) {
  NativeFile file = OpenedOrCreated(windowsPath, GENERIC_WRITE, 0);
  if (file.IsOpen() && !SetEndOfFile(file.Handle())) file.Close();
  return file;
}

#else

NativeHandle NativeFile::None() { return -1; }

NativeFile::NativeFile(NativeHandle handle) : handle_(handle < 0 ? None() : handle) {}

bool NativeFile::IsOpen() const { return handle_ >= 0; }

bool NativeFile::Close() {
  const bool closed = !IsOpen() || close(handle_) == 0;
  handle_ = None();
  return closed;
}

std::size_t PipeStream::Read(char* buffer, std::size_t capacity) {
  while (true) {
    const ssize_t got = read(pipe_, buffer, capacity);
    if (got < 0 && errno == EINTR) continue;
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }
}

bool WriteAll(NativeHandle file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(file, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

namespace {

// O_NOFOLLOW: a link in the name's place does not open. O_NONBLOCK: nor
// does a FIFO hold the run; only a regular file is kept.
NativeFile OpenedRegular(std::string_view windowsPath, int flags) {
  NativeFile file(open(NativePath(windowsPath).c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644));
  struct stat status {};
  if (file.IsOpen() && (fstat(file.Handle(), &status) != 0 || !S_ISREG(status.st_mode))) file.Close();
  return file;
}

}  // namespace

NativeFile OpenForAppending(std::string_view windowsPath) {
  return OpenedRegular(windowsPath, O_RDWR | O_APPEND | O_CREAT);
}

NativeFile OpenLockFile(std::string_view windowsPath) { return OpenedRegular(windowsPath, O_RDWR | O_CREAT); }

NativeFile OpenEmptyFile(std::string_view windowsPath) { return OpenedRegular(windowsPath, O_WRONLY | O_CREAT | O_TRUNC); }

NativeFile CreateNewPrivateFile(const std::filesystem::path& path) {
  return NativeFile(open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOCTTY | O_CLOEXEC, 0600));
}

bool FlushToDisk(const NativeFile& file) { return fsync(file.Handle()) == 0; }

bool NamesItself(const std::string& nativePath) {
  struct stat status {};
  return lstat(nativePath.c_str(), &status) == 0 && !S_ISLNK(status.st_mode);
}

#endif

}  // namespace tavorine
