#pragma once
#include <cstdint>
#include <cstring>
#include <string>

namespace tavorine {

// A character field of a received record: its bytes as received, up to a NUL
// byte if the library put one there (the field is a C text from there on).
inline std::string ReceivedText(const unsigned char* record, std::size_t position, std::size_t length) {
  const char* field = reinterpret_cast<const char*>(record + position);
  return std::string(field, strnlen(field, length));
}

// A native 4-byte integer field of a received record.
inline std::int32_t ReceivedInt(const unsigned char* record, std::size_t position) {
  std::int32_t value = 0;
  std::memcpy(&value, record + position, sizeof value);
  return value;
}

}  // namespace tavorine
