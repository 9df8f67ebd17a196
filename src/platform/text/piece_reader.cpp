#include "platform/text/piece_reader.h"

#include <cstring>

namespace tavorine {

// ahead is 0 or 1: at most one byte is kept before a read.
int PieceReader::Peek(std::size_t ahead) {
  while (at_ + ahead >= end_ && !ended_) {
    std::memmove(buffer_, buffer_ + at_, end_ - at_);
    end_ -= at_;
    at_ = 0;
    const std::size_t got = stream_.Read(buffer_ + end_, kReadSize - end_);
    end_ += got;
    ended_ = got == 0;
  }
  return at_ + ahead < end_ ? static_cast<unsigned char>(buffer_[at_ + ahead]) : kEnd;
}

bool PieceReader::Next(std::string& piece) {
  if (Peek(0) == kEnd) return false;
  piece.clear();
  while (piece.size() < maxChars_) {
    const int c = Peek(0);
    if (c == kEnd) break;
    if (c == '\n') {
      Skip(1);
      break;
    }
    if (c == '\r' && Peek(1) == '\n') {
      Skip(2);
      break;
    }
    piece += static_cast<char>(c);
    Skip(1);
  }
  // A full piece directly followed by its line end has left that line end for
  // the next read, which then yields an empty piece, as the C reader does.
  const std::size_t nul = piece.find('\0');
  if (nul != std::string::npos) piece.resize(nul);
  return true;
}

}  // namespace tavorine
