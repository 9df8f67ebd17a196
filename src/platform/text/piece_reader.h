#pragma once
#include <cstddef>
#include <string>

#include "platform/text/byte_stream.h"

namespace tavorine {

// Splits a stream into the pieces a C line reader with a buffer of maxChars + 1
// bytes returns: each piece ends after a line feed or after maxChars
// characters. A CR LF pair counts as one line feed, as in Windows text mode, so
// both builds read a file alike. A piece holding a NUL byte ends there, as a C
// string would. Memory stays that of one piece and one read buffer, whatever
// the stream's length. Borrows the stream.
class PieceReader {
 public:
  PieceReader(ByteStream& stream, std::size_t maxChars) : stream_(stream), maxChars_(maxChars) {}
  PieceReader(const PieceReader&) = delete;
  PieceReader& operator=(const PieceReader&) = delete;

  // The next piece without its line end; false at the end of the stream.
  bool Next(std::string& piece);

 private:
  static constexpr int kEnd = -1;
  int Peek(std::size_t ahead);
  void Skip(std::size_t count) { at_ += count; }

  // In the object, not on the heap, and never cleared: a short file costs
  // the bytes it has, and no fresh memory.
  static constexpr std::size_t kReadSize = 4096;

  ByteStream& stream_;
  std::size_t maxChars_;
  char buffer_[kReadSize];
  std::size_t at_ = 0;   // the next byte
  std::size_t end_ = 0;  // after the last byte read
  bool ended_ = false;
};

}  // namespace tavorine
