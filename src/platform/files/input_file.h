#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/files/native_file.h"
#include "platform/text/byte_stream.h"

namespace tavorine {

// The most the program reads of any file it reads as a whole. A profile or
// the path file holds a few hundred bytes and a listing of ten thousand
// systems less than a megabyte; a larger file is a mistake or an attack, and
// is refused rather than read for minutes.
inline constexpr std::uint64_t kInputFileLimit = 16 * 1024 * 1024;

// A file the program reads, opened for reading only when it is a regular file:
// a FIFO, a device or a folder in its place counts as missing. The open never
// blocks, so a FIFO cannot hold the run. Reads stop at the size the file had
// when it was opened, so a file that grows meanwhile is read as it was. Owns
// the open file; moving it hands the file on.
class InputFile final : public ByteStream {
 public:
  // Empty when the path names no regular file that opens for reading.
  static std::optional<InputFile> Open(std::string_view windowsPath);
  // The same for a path of the system's own form.
  static std::optional<InputFile> OpenNative(const std::string& nativePath);


  std::uint64_t Size() const { return size_; }
  bool TooLarge() const { return size_ > kInputFileLimit; }
  // The next bytes from the start on.
  std::size_t Read(char* buffer, std::size_t capacity) override;
  // Up to length bytes from offset on, whatever the reads before; fewer at the end.
  std::string ReadAt(std::uint64_t offset, std::size_t length) const;

 private:
  InputFile(NativeFile file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

  NativeFile file_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};

// The whole of a file, when it is readable and within kInputFileLimit.
enum class WholeFileFault { Missing, TooLarge };
struct WholeFile {
  std::string bytes;
  std::optional<WholeFileFault> fault;
};
WholeFile ReadWholeFile(std::string_view windowsPath);
WholeFile ReadWholeFile(std::optional<InputFile> file);

}  // namespace tavorine
