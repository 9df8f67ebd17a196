// The worker protocol's readers, over what either side of the pipe may have
// sent: a stream of records, each record's fields decoded as every kind.
// Whatever decodes must encode back to the very bytes it came from.
#include "driver/group_run/worker_protocol.h"
#include "fuzz_input.h"

namespace {

template <typename Decoded, typename Decode, typename Encode>
void RoundTrip(const std::string& bytes, Decode decode, Encode encode, const char* what) {
  if (const std::optional<Decoded> decoded = decode(bytes)) fuzz::Check(encode(*decoded) == bytes, what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  tavorine::TextStream stream(text, fuzz::ReadSize(text));
  tavorine::RecordReader reader(stream);
  std::size_t read = 0;
  while (const std::optional<tavorine::Record> record = reader.Next()) {
    read += 9 + record->bytes.size();
    fuzz::Check(read <= text.size(), "a record is never longer than what came");
    RoundTrip<tavorine::StartRequest>(record->bytes, tavorine::DecodeStart, tavorine::EncodeStart, "start");
    RoundTrip<tavorine::CheckRequest>(record->bytes, tavorine::DecodeCheck, tavorine::EncodeCheck, "check");
    RoundTrip<tavorine::LogLine>(record->bytes, tavorine::DecodeLog, tavorine::EncodeLog, "log line");
    RoundTrip<tavorine::SystemOutcome>(record->bytes, tavorine::DecodeOutcome, tavorine::EncodeOutcome, "outcome");
  }
  return 0;
}
