#pragma once
#include <cstddef>
#include <string_view>

namespace tavorine {

// Bytes read from the start to the end, a chunk at a time: a file, or a text
// that tests and fuzz targets feed through the same readers.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Up to capacity bytes into buffer; 0 at the end (or when reading fails).
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
};

// A text as a stream; chunkLimit hands it out in chunks of at most that many
// bytes, so that tests see every way a file's reads may cut its lines.
class TextStream final : public ByteStream {
 public:
  explicit TextStream(std::string_view text, std::size_t chunkLimit = 0) : text_(text), chunkLimit_(chunkLimit) {}
  std::size_t Read(char* buffer, std::size_t capacity) override;

 private:
  std::string_view text_;
  std::size_t chunkLimit_;
};

}  // namespace tavorine
