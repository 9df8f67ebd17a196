#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files/input_file.h"

namespace tavorine {

// Bytes that can be read at any offset: a whole file is never loaded when
// only its end matters.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Up to length bytes from offset; fewer at the end or on a read error.
  virtual std::string Read(std::uint64_t offset, std::size_t length) const = 0;
};

class TextSource final : public ByteSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}
  std::uint64_t Size() const override { return text_.size(); }
  std::string Read(std::uint64_t offset, std::size_t length) const override;

 private:
  std::string_view text_;
};

// An opened input file as a byte source, of any size; borrows the file.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const InputFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  std::string Read(std::uint64_t offset, std::size_t length) const override { return file_.ReadAt(offset, length); }

 private:
  const InputFile& file_;
};

}  // namespace tavorine
