#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavorine {

// The records that pass between a listing run and its workers over pipes:
// a kind letter, the length as 8 hex digits, then the bytes. A worker's
// standard output is nothing but records, so whatever a worker prints
// reaches its parent in the order it was printed.
enum class RecordKind : char {
  Output = 'O',  // bytes for the run's standard output
  Log = 'L',     // a run-log line
  Result = 'R',  // the outcome of the system's checks
};

struct Record {
  RecordKind kind;
  std::string bytes;
};

std::string EncodeRecord(RecordKind kind, std::string_view bytes);

// The records of a stream, in order; a record cut short by a worker's end is left out.
std::vector<Record> DecodeRecords(std::string_view stream);

// Texts in a row, each with its length, in one record's bytes.
std::string JoinFields(const std::vector<std::string>& fields);
// Empty optional when the bytes are no such row.
std::optional<std::vector<std::string>> SplitFields(std::string_view bytes);

}  // namespace tavorine
