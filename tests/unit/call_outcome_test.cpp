#include <gtest/gtest.h>

#include "output/messages.h"

namespace tavorine {
namespace {

TEST(CallFailed, EachCodeHasItsMessage) {
  const std::vector<std::tuple<std::int32_t, std::string, std::string>> cases = {
      {1, "", "Error 1014: RFC-Failure raised !"},
      {2, "NOT_FOUND", "Error 1012: Exception.: NOT_FOUND"},
      {3, "SYSTEM_FAILURE", "Error 1013: Sys-Exception raised !"},
      {5, "", "Error 1015: Other Failure raised !"},
      {23, "", "Error 1015: Other Failure raised !"},
      {-1, "", "Error 1015: Other Failure raised !"},
  };
  for (const auto& [code, exception, text] : cases) {
    SCOPED_TRACE(code);
    EXPECT_EQ(messages::CallFailed(code, exception).message, text);
  }
}

}  // namespace
}  // namespace tavorine
