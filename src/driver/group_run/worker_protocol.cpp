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

// Fields in a row, each with its length.
class FieldWriter {
 public:
  FieldWriter& Text(std::string_view text) {
    bytes_ += Length(text.size());
    bytes_ += text;
    return *this;
  }
  FieldWriter& Number(std::int64_t number) { return Text(std::to_string(number)); }
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
  return FieldWriter().Text(request.optionsAsGiven).Text(request.folder).Number(request.tellsSapRfcIni).Bytes();
}

std::optional<StartRequest> DecodeStart(std::string_view bytes) {
  FieldReader fields(bytes);
  StartRequest request;
  fields.Text(request.optionsAsGiven);
  fields.Text(request.folder);
  fields.Flag(request.tellsSapRfcIni);
  if (!fields.Whole()) return std::nullopt;
  return request;
}

std::string EncodeCheck(const CheckRequest& request) {
  FieldWriter fields;
  for (const auto member : kProfileTexts) fields.Text(request.profile.*member);
  const std::optional<WholeFile>& ini = request.destinationIni;
  if (!ini) return fields.Text(kNoIni).Bytes();
  if (ini->fault) return fields.Text(kIniTooLarge).Bytes();
  return fields.Text(kIniRead).Text(ini->bytes).Bytes();
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
  return FieldWriter().Number(line.number).Text(line.text).Text(line.detail).Bytes();
}

std::optional<LogLine> DecodeLog(std::string_view bytes) {
  FieldReader fields(bytes);
  LogLine line;
  fields.Number(line.number, INT32_MIN, INT32_MAX);
  fields.Text(line.text);
  fields.Text(line.detail);
  if (!fields.Whole()) return std::nullopt;
  return line;
}

std::string EncodeOutcome(const SystemOutcome& outcome) {
  const DictionaryState& state = outcome.dictionary;
  return FieldWriter()
      .Number(static_cast<int>(outcome.failedAt))
      .Number(outcome.throughSapRfcIni ? 1 : 0)
      .Number(outcome.logonFailure ? 1 : 0)
      .Number(outcome.logonFailure ? outcome.logonFailure->number : 0)
      .Text(outcome.logonFailure ? outcome.logonFailure->message : "")
      .Number(outcome.callCode)
      .Text(outcome.exception)
      .Text(outcome.databaseSystem)
      .Text(state.DBSYS)
      .Text(state.FS_A_DATE)
      .Text(state.FS_A_TIME)
      .Text(state.SYSID)
      .Number(state.TAB_MIS_DD)
      .Number(state.IDX_MIS_DD)
      .Number(state.CST_MIS_DD)
      .Number(state.VIE_MIS_DD)
      .Bytes();
}

std::optional<SystemOutcome> DecodeOutcome(std::string_view bytes) {
  FieldReader fields(bytes);
  SystemOutcome outcome;
  DictionaryState& state = outcome.dictionary;
  int step = 0;
  bool failedLogon = false;
  RunFailure failure;
  fields.Number(step, 0, static_cast<int>(CheckStep::Done));
  fields.Flag(outcome.throughSapRfcIni);
  fields.Flag(failedLogon);
  fields.Number(failure.number, 0, INT32_MAX);
  fields.Text(failure.message);
  fields.Number(outcome.callCode, INT32_MIN, INT32_MAX);
  fields.Text(outcome.exception);
  fields.Text(outcome.databaseSystem);
  fields.Text(state.DBSYS);
  fields.Text(state.FS_A_DATE);
  fields.Text(state.FS_A_TIME);
  fields.Text(state.SYSID);
  for (std::int32_t* count : {&state.TAB_MIS_DD, &state.IDX_MIS_DD, &state.CST_MIS_DD, &state.VIE_MIS_DD}) {
    fields.Number(*count, INT32_MIN, INT32_MAX);
  }
  if (!fields.Whole()) return std::nullopt;
  outcome.failedAt = static_cast<CheckStep>(step);
  if (failedLogon) outcome.logonFailure = std::move(failure);
  return outcome;
}

}  // namespace tavorine
