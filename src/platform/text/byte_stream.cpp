#include "platform/text/byte_stream.h"

#include <algorithm>
#include <cstring>

namespace tavorine {

std::size_t TextStream::Read(char* buffer, std::size_t capacity) {
  std::size_t count = std::min(capacity, text_.size());
  if (chunkLimit_ > 0) count = std::min(count, chunkLimit_);
  if (count > 0) std::memcpy(buffer, text_.data(), count);
  text_.remove_prefix(count);
  return count;
}

}  // namespace tavorine
