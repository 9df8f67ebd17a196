#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

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

// A file named by a Windows path, open for reading until destruction.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::string_view windowsPath);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  std::uint64_t Size() const override { return size_; }
  std::string Read(std::uint64_t offset, std::size_t length) const override;

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
};

}  // namespace tavorine
