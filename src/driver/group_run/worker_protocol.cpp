#include "driver/group_run/worker_protocol.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace tavorine {

namespace {

constexpr std::size_t kLengthDigits = 8;
constexpr std::string_view kKinds = "SCOLR";

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

// Fields in a row, each with its length. It takes the same calls as
// FieldReader, so that one list of a record's fields serves both ways.
class FieldWriter {
 public:
  void Text(std::string_view text) {
    bytes_ += Length(text.size());
    bytes_ += text;
  }
  template <typename Integer>
  void Number(Integer number, Integer, Integer) {
    Text(std::to_string(number));
  }
  void Flag(bool flag) { Text(flag ? "1" : "0"); }
  template <typename Enum>
  void Choice(Enum value, Enum) {
    Text(std::to_string(static_cast<int>(value)));
  }
  template <typename Value, typename ValueFields>
  void Optional(const std::optional<Value>& value, const ValueFields& valueFields) {
    Flag(value.has_value());
    valueFields(value ? *value : Value{});
  }
  std::string Bytes() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// The fields of a record's bytes, one after the other; false once one does
// not fit, and for every field after it.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : rest_(bytes) {}

  bool Text(std::string& text) {
    const std::optional<std::size_t> length = ReadLength(rest_);
    if (!length || rest_.size() - kLengthDigits < *length) return Fail();
    text = rest_.substr(kLengthDigits, *length);
    rest_.remove_prefix(kLengthDigits + *length);
    return true;
  }

  template <typename Integer>
  bool Number(Integer& number, Integer lowest, Integer highest) {
    std::string text;
    if (!Text(text)) return false;
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Only the digits the writer writes: one value, one spelling.
    if (error != std::errc() || end != text.data() + text.size() || text != std::to_string(value) ||
        value < lowest || value > highest) {
      return Fail();
    }
    number = value;
    return true;
  }

  bool Flag(bool& flag) {
    int value = 0;
    if (!Number(value, 0, 1)) return false;
    flag = value == 1;
    return true;
  }

  // One of an enumeration's values, from the first to last.
  template <typename Enum>
  bool Choice(Enum& value, Enum last) {
    int number = 0;
    if (!Number(number, 0, static_cast<int>(last))) return false;
    value = static_cast<Enum>(number);
    return true;
  }

  // A flag, then the fields of a value that is there only when it is set.
  template <typename Value, typename ValueFields>
  void Optional(std::optional<Value>& value, const ValueFields& valueFields) {
    bool present = false;
    Flag(present);
    Value read{};
    valueFields(read);
    if (present) value = std::move(read);
  }

  // Whether every field was read and nothing follows.
  bool Whole() const { return !failed_ && rest_.empty(); }

 private:
  bool Fail() {
    failed_ = true;
    rest_ = {};
    return false;
  }

  std::string_view rest_;
  bool failed_ = false;
};

// The profile's texts in a fixed order.
constexpr std::array<std::string ProfileData::*, 11> kProfileTexts = {
    &ProfileData::Extcompany, &ProfileData::Destination, &ProfileData::Client,    &ProfileData::User,
    &ProfileData::Password,   &ProfileData::Language,    &ProfileData::Mode,      &ProfileData::Hostname,
    &ProfileData::Sysnr,      &ProfileData::Gwhost,      &ProfileData::Gwservice,
};

// How a request tells the state of "SapRfc.<destination>".
constexpr std::string_view kNoIni = "-";
constexpr std::string_view kIniTooLarge = "L";
constexpr std::string_view kIniRead = "F";

// The fields of each kind of record, in order: the one list that writes them
// (Fields a FieldWriter, Record const) and reads them back (a FieldReader).
struct StartFields {
  template <typename Fields, typename Record>
  static void List(Fields& fields, Record& request) {
    fields.Text(request.optionsAsGiven);
    fields.Text(request.folder);
    fields.Flag(request.tellsSapRfcIni);
  }
};

struct LogFields {
  template <typename Fields, typename Record>
  static void List(Fields& fields, Record& line) {
    fields.Number(line.number, INT32_MIN, INT32_MAX);
    fields.Text(line.text);
    fields.Text(line.detail);
  }
};

struct OutcomeFields {
  template <typename Fields, typename Record>
  static void List(Fields& fields, Record& outcome) {
    fields.Choice(outcome.failedAt, CheckStep::Done);
    fields.Flag(outcome.throughSapRfcIni);
    fields.Optional(outcome.logonFailure, [&fields](auto& failure) {
      fields.Number(failure.number, 0, INT32_MAX);
      fields.Text(failure.message);
    });
    fields.Number(outcome.callCode, INT32_MIN, INT32_MAX);
    fields.Text(outcome.exception);
    fields.Text(outcome.databaseSystem);
    auto& state = outcome.dictionary;
    for (auto* text : {&state.DBSYS, &state.FS_A_DATE, &state.FS_A_TIME, &state.SYSID}) fields.Text(*text);
    for (auto* count : {&state.TAB_MIS_DD, &state.IDX_MIS_DD, &state.CST_MIS_DD, &state.VIE_MIS_DD}) {
      fields.Number(*count, INT32_MIN, INT32_MAX);
    }
  }
};

template <typename FieldList, typename Record>
std::string Encoded(const Record& record) {
  FieldWriter fields;
  FieldList::List(fields, record);
  return fields.Bytes();
}

template <typename FieldList, typename Record>
std::optional<Record> Decoded(std::string_view bytes) {
  FieldReader fields(bytes);
  Record record;
  FieldList::List(fields, record);
  if (!fields.Whole()) return std::nullopt;
  return record;
}

}  // namespace

std::string EncodeRecord(RecordKind kind, std::string_view bytes) {
  std::string record(1, static_cast<char>(kind));
  record += Length(bytes.size());
  record += bytes;
  return record;
}

std::size_t RecordReader::ReadUpTo(std::size_t count, std::string& bytes) {
  bytes.resize(count);
  std::size_t got = 0;
  while (got < count) {
    const std::size_t more = stream_.Read(bytes.data() + got, count - got);
    if (more == 0) break;
    got += more;
  }
  return got;
}

std::optional<Record> RecordReader::Next() {
  std::string head;
  if (broken_) return std::nullopt;
  const std::size_t got = ReadUpTo(1 + kLengthDigits, head);
  // The stream may end between records, never within one.
  broken_ = got > 0 && got < head.size();
  if (got < head.size()) return std::nullopt;
  const std::optional<std::size_t> length = ReadLength(std::string_view(head).substr(1));
  Record record{static_cast<RecordKind>(head[0]), {}};
  broken_ = kKinds.find(head[0]) == std::string_view::npos || !length || *length > kRecordLimit ||
            ReadUpTo(*length, record.bytes) < *length;
  if (broken_) return std::nullopt;
  return record;
}

std::string EncodeStart(const StartRequest& request) {
  return Encoded<StartFields>(request);
}

std::optional<StartRequest> DecodeStart(std::string_view bytes) {
  return Decoded<StartFields, StartRequest>(bytes);
}

std::string EncodeCheck(const CheckRequest& request) {
  FieldWriter fields;
  for (const auto member : kProfileTexts) fields.Text(request.profile.*member);
  const std::optional<WholeFile>& ini = request.destinationIni;
  fields.Text(!ini ? kNoIni : ini->fault ? kIniTooLarge : kIniRead);
  if (ini && !ini->fault) fields.Text(ini->bytes);
  return fields.Bytes();
}

std::optional<CheckRequest> DecodeCheck(std::string_view bytes) {
  FieldReader fields(bytes);
  CheckRequest request;
  for (const auto member : kProfileTexts) fields.Text(request.profile.*member);
  std::string state;
  fields.Text(state);
  if (state == kIniTooLarge) {
    request.destinationIni = WholeFile{{}, WholeFileFault::TooLarge};
  } else if (state == kIniRead) {
    request.destinationIni.emplace();
    fields.Text(request.destinationIni->bytes);
  } else if (state != kNoIni) {
    return std::nullopt;
  }
  if (!fields.Whole()) return std::nullopt;
  return request;
}

std::string EncodeLog(const LogLine& line) {
  return Encoded<LogFields>(line);
}

std::optional<LogLine> DecodeLog(std::string_view bytes) {
  return Decoded<LogFields, LogLine>(bytes);
}

std::string EncodeOutcome(const SystemOutcome& outcome) {
  return Encoded<OutcomeFields>(outcome);
}

std::optional<SystemOutcome> DecodeOutcome(std::string_view bytes) {
  return Decoded<OutcomeFields, SystemOutcome>(bytes);
}

}  // namespace tavorine
