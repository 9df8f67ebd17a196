#include "platform/files/random_access_file.h"

namespace tavorine {

std::string TextSource::Read(std::uint64_t offset, std::size_t length) const {
  if (offset >= text_.size()) return {};
  return std::string(text_.substr(static_cast<std::size_t>(offset), length));
}

}  // namespace tavorine
