#include "rfc/trace_file_scan.h"

#include <gtest/gtest.h>

namespace tavorine {
namespace {

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
    EXPECT_EQ(TraceFileScanText(c.trace), c.expected);
  }
}

}  // namespace
}  // namespace tavorine
