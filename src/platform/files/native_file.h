#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/text/byte_stream.h"

namespace tavorine {

// The system's own handle of an open file, pipe, folder, job or process: a
// HANDLE on Windows, a file descriptor elsewhere.
#ifdef _WIN32
using NativeHandle = void*;
#else
using NativeHandle = int;
#endif

// An open file, pipe or other handle of the system, closed when the object
// goes, so that no road through the program can forget a close. Made from
// what a system call returned: a value that is no handle makes an object
// that is not open. Movable; moving hands the handle on.
class NativeFile {
 public:
  NativeFile() = default;
  explicit NativeFile(NativeHandle handle);
  ~NativeFile() { Close(); }
  NativeFile(NativeFile&& other) noexcept;
  NativeFile& operator=(NativeFile&& other) noexcept;
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;

  bool IsOpen() const;
  NativeHandle Handle() const { return handle_; }
  // False when the system reports a failure at closing (a write it could
  // not finish); true for an object that was not open.
  bool Close();
  // Hands the handle over: the object no longer closes it.
  NativeHandle Release();

 private:
  static NativeHandle None();

  NativeHandle handle_ = None();
};

// A pipe or file read from where it stands to its end (or its first error);
// borrows the handle.
class PipeStream final : public ByteStream {
 public:
  explicit PipeStream(NativeHandle pipe) : pipe_(pipe) {}
  std::size_t Read(char* buffer, std::size_t capacity) override;

 private:
  NativeHandle pipe_;
};

// Writes all the bytes; false when the file or pipe takes no more.
bool WriteAll(NativeHandle file, std::string_view bytes);

// Files the program writes in a folder that others may write too, such as the
// working directory it shares with other sensors. Each is opened as a
// regular file of that folder and never through a symbolic link planted in
// its place, which would make the program create, overwrite or append to a
// file elsewhere; such a name does not open.
//
// A file of lines that several processes append to, opened or created, open
// for reading too (to see its last byte).
NativeFile OpenForAppending(std::string_view windowsPath);
// A lock file, opened or created.
NativeFile OpenLockFile(std::string_view windowsPath);
// A file of the program's own, empty: made, or one that a killed run left
// emptied.
NativeFile OpenEmptyFile(std::string_view windowsPath);

// A new file where nothing stands yet, not even a link, that only its owner
// may read (on POSIX; on Windows the folder's rights hold): a file that will
// hold a password. Not open when anything is there.
NativeFile CreateNewPrivateFile(const std::filesystem::path& path);
// Puts what the system still holds of the file onto the disk; false when it
// cannot.
bool FlushToDisk(const NativeFile& file);

// Whether the native path leads to the file or folder of that name in its
// folder itself, and not through a link to something elsewhere. Removing
// what a link stands for must never reach what it leads to.
bool NamesItself(const std::string& nativePath);

}  // namespace tavorine
