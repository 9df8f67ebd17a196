#include "rfc/trace_file_scan.h"

#include <gtest/gtest.h>

#include <random>

#include "support/forward_trace_scan.h"

namespace tavorine {
namespace {

std::string Scan(std::string_view trace) { return TraceFileScanText(TextSource(trace)); }

struct TraceCase {
  std::string name;
  std::string trace;
  std::string expected;
};

TEST(TraceFileScan, FindsTheLastErrorBlocksMessage) {
  const std::string longPrefix(99, 'x');
  const std::vector<TraceCase> cases = {
      {"error line", "**** ERROR file opened\nERROR       partner not reached\n", " - partner not reached"},
      {"error line with CR LF", "**** ERROR x\r\nERROR       partner down\r\n", " - partner down"},
      {"arrow line", "**** ERROR x\nT:00001======> Name or password is incorrect\n", " - Name or password is incorrect"},
      {"arrow wins over an earlier error line", "**** ERROR x\nERROR       first\nabcdefg======> second\n",
       " - second"},
      {"later error line wins", "**** ERROR x\nabcdefg======> first\nERROR       second\n", " - second"},
      {"header clears earlier messages", "**** ERROR a\nERROR       old\n**** ERROR b\nnothing here\n",
       " - Please Check Trace-File !"},
      {"no block at all", "just some trace\n", " - Please Check Trace-File !"},
      {"empty trace", "", " - Please Check Trace-File !"},
      {"line shorter than 15 never matches the arrow", "abcdefg======>\n", " - Please Check Trace-File !"},
      {"arrow must stand at character 8", "abcdef======> off by one\n", " - Please Check Trace-File !"},
      {"line with ERROR and arrow takes the arrow", "ERROR =======> arrow text\n", " - arrow text"},
      {"error line without message", "ERROR \n", " - Please Check Trace-File !"},
      {"no final line end", "ERROR       last words", " - last words"},
      {"later piece of a long line matches alone", longPrefix + "ERROR       in piece two\n", " - in piece two"},
      {"message longer than a piece is cut at the piece", "ERROR       " + std::string(100, 'm') + "\n",
       " - " + std::string(87, 'm')},
      {"lower-case error is no error", "error       quiet\n", " - Please Check Trace-File !"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Scan(c.trace), c.expected);
    EXPECT_EQ(ForwardTraceScan(c.trace), c.expected);
  }
}

// Builds traces from the pieces that matter to the rules, at lengths around
// the 99-character pieces, with every kind of line end.
std::string RandomTrace(std::mt19937& random) {
  static const std::vector<std::string> kStarts = {
      "**** ERROR ", "ERROR ", "ERROR       ", "T:00001======> ", "abcdefg======> ", "xyz", "", "ERRO", "**** ERR",
      "1234567======>", " ERROR ",
  };
  static const std::vector<std::string> kEnds = {"\n", "\r\n", "\r", "", "\n\n"};
  std::string trace;
  const int lines = std::uniform_int_distribution<int>(0, 12)(random);
  for (int i = 0; i < lines; ++i) {
    trace += kStarts[random() % kStarts.size()];
    const int filler = std::uniform_int_distribution<int>(0, 3)(random) == 0
                           ? std::uniform_int_distribution<int>(80, 300)(random)
                           : std::uniform_int_distribution<int>(0, 20)(random);
    for (int c = 0; c < filler; ++c) {
      const int kind = std::uniform_int_distribution<int>(0, 40)(random);
      trace += kind == 0 ? '\0' : kind == 1 ? '\r' : kind == 2 ? '=' : static_cast<char>('a' + kind % 26);
    }
    if (random() % 4 == 0) trace += kStarts[random() % kStarts.size()];
    trace += kEnds[random() % kEnds.size()];
  }
  return trace;
}

TEST(TraceFileScan, BackwardScanAgreesWithTheForwardRules) {
  std::mt19937 random(20221129);
  for (int i = 0; i < 20000; ++i) {
    const std::string trace = RandomTrace(random);
    ASSERT_EQ(Scan(trace), ForwardTraceScan(trace)) << "trace #" << i << ": " << ::testing::PrintToString(trace);
  }
}

// Counts what the scan reads, to show that its cost follows the lines it
// looks at, not the size of the trace.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(std::string_view text) : text_(text) {}
  std::uint64_t Size() const override { return text_.Size(); }
  std::string Read(std::uint64_t offset, std::size_t length) const override {
    std::string bytes = text_.Read(offset, length);
    read += bytes.size();
    return bytes;
  }
  mutable std::uint64_t read = 0;

 private:
  TextSource text_;
};

TEST(TraceFileScan, ReadsEachByteOfTheTraceAtMostTwice) {
  std::string trace;
  for (int i = 0; i < 100000; ++i) trace += "T:00001 a line of the trace that is no error at all\n";
  const CountingSource quiet(trace);
  EXPECT_EQ(TraceFileScanText(quiet), " - Please Check Trace-File !");
  EXPECT_LE(quiet.read, 2 * trace.size());

  const std::string withBlock = trace + "**** ERROR x\nERROR       the last one\n";
  const CountingSource atEnd(withBlock);
  EXPECT_EQ(TraceFileScanText(atEnd), " - the last one");
  EXPECT_LE(atEnd.read, 70000u);
}

TEST(TraceFileScan, PiecesOfExactly99CharactersMatchTheForwardRules) {
  for (std::size_t length = 90; length <= 200; ++length) {
    for (const std::string end : {"\n", "\r\n"}) {
      const std::string trace = std::string(length, 'x') + "ERROR       split" + end + std::string(length, 'y') + end;
      ASSERT_EQ(Scan(trace), ForwardTraceScan(trace)) << length;
      const std::string arrow = "ERROR       first" + end + std::string(length, 'z') + "======> late" + end;
      ASSERT_EQ(Scan(arrow), ForwardTraceScan(arrow)) << length;
    }
  }
}

}  // namespace
}  // namespace tavorine
