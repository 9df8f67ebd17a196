#include "driver/worker_records.h"

#include <cstdio>

namespace tavorine {

namespace {

constexpr std::size_t kLengthDigits = 8;

std::string Length(std::size_t length) {
  char digits[kLengthDigits + 1];
  std::snprintf(digits, sizeof digits, "%08zx", length);
  return digits;
}

std::optional<std::size_t> ReadLength(std::string_view text) {
  if (text.size() < kLengthDigits) return std::nullopt;
  std::size_t length = 0;
  for (const char c : text.substr(0, kLengthDigits)) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return std::nullopt;
    length = length * 16 + static_cast<std::size_t>(digit);
  }
  return length;
}

}  // namespace

std::string EncodeRecord(RecordKind kind, std::string_view bytes) {
  return static_cast<char>(kind) + Length(bytes.size()) + std::string(bytes);
}

std::vector<Record> DecodeRecords(std::string_view stream) {
  std::vector<Record> records;
  while (!stream.empty()) {
    const std::optional<std::size_t> length = ReadLength(stream.substr(1));
    if (!length || stream.size() < 1 + kLengthDigits + *length) break;
    records.push_back({static_cast<RecordKind>(stream[0]), std::string(stream.substr(1 + kLengthDigits, *length))});
    stream.remove_prefix(1 + kLengthDigits + *length);
  }
  return records;
}

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string bytes;
  for (const std::string& field : fields) bytes += Length(field.size()) + field;
  return bytes;
}

std::optional<std::vector<std::string>> SplitFields(std::string_view bytes) {
  std::vector<std::string> fields;
  while (!bytes.empty()) {
    const std::optional<std::size_t> length = ReadLength(bytes);
    if (!length || bytes.size() < kLengthDigits + *length) return std::nullopt;
    fields.emplace_back(bytes.substr(kLengthDigits, *length));
    bytes.remove_prefix(kLengthDigits + *length);
  }
  return fields;
}

}  // namespace tavorine
