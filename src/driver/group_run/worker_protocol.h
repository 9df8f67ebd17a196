#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/profile_data.h"
#include "output/check_outcome.h"
#include "platform/files/input_file.h"
#include "platform/text/byte_stream.h"

namespace tavorine {

// What a group run and its workers say to each other over a worker's
// standard input and output. Everything is a record: a kind letter, the
// length of the record's bytes as 8 hex digits, the bytes. The bytes of most
// records are fields in a row, each its length as 8 hex digits and its bytes,
// so any byte may stand in a field. A worker prints nothing but records: its
// parent gets every byte in the order it was printed and knows whose it is.
// A decoder takes nothing cut short, too large, of an unknown kind or with
// fields that do not fit: it gives none instead.
enum class RecordKind : char {
  Start = 'S',   // parent to worker, first of all: StartRequest
  Check = 'C',   // parent to worker: CheckRequest, one system to check
  Output = 'O',  // worker to parent: bytes for the run's standard output, as they are
  Log = 'L',     // worker to parent: LogLine
  Result = 'R',  // worker to parent: the system's SystemOutcome; the system is done
};

struct Record {
  RecordKind kind;
  std::string bytes;
};

// The largest record either side takes: a request carries the options and a
// "SapRfc.<destination>", each from a file of at most kInputFileLimit.
inline constexpr std::size_t kRecordLimit = 2 * kInputFileLimit + 4096;

std::string EncodeRecord(RecordKind kind, std::string_view bytes);

// Reads records one by one from a stream that another process writes;
// borrows the stream.
class RecordReader {
 public:
  explicit RecordReader(ByteStream& stream) : stream_(stream) {}
  // The next record; none at the end of the stream, or when what comes is
  // no record, and then never again.
  std::optional<Record> Next();
  // Whether the stream held something that is no record.
  bool Broken() const { return broken_; }

 private:
  // Reads until count bytes came or the stream ended: how many came.
  std::size_t ReadUpTo(std::size_t count, std::string& bytes);

  ByteStream& stream_;
  bool broken_ = false;
};

// The first request: how the worker is to run.
struct StartRequest {
  std::string optionsAsGiven;  // the run's options, from which it reads its option words
  std::string folder;          // its private folder, native path
  bool tellsSapRfcIni = false;  // prints the "* SapRfc.Ini" line of a logon through SapRfc.ini
};
std::string EncodeStart(const StartRequest& request);
std::optional<StartRequest> DecodeStart(std::string_view bytes);

// One system to check: its profile, and its "SapRfc.<destination>" as the
// parent read it in the sensor's working directory.
struct CheckRequest {
  ProfileData profile;
  std::optional<WholeFile> destinationIni;
};
std::string EncodeCheck(const CheckRequest& request);
std::optional<CheckRequest> DecodeCheck(std::string_view bytes);

// A run-log line, as its fields.
struct LogLine {
  std::int32_t number = 0;
  std::string text;
  std::string detail;
};
std::string EncodeLog(const LogLine& line);
std::optional<LogLine> DecodeLog(std::string_view bytes);

std::string EncodeOutcome(const SystemOutcome& outcome);
std::optional<SystemOutcome> DecodeOutcome(std::string_view bytes);

}  // namespace tavorine
