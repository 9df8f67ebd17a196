#include "rfc/call_outcome.h"

#include <gtest/gtest.h>

namespace tavorine {
namespace {

TEST(ClassifyCallOutcome, TurnsCodesIntoStatusAndErrorText) {
  const std::vector<std::tuple<RFC_RC, std::string, std::string, std::string>> cases = {
      {0, "", "OK", ""},
      {1, "", "ERR", "Error 1014: RFC-Failure raised !"},
      {2, "NOT_FOUND", "ERR", "Error 1012: Exception.: NOT_FOUND"},
      {3, "SYSTEM_FAILURE", "ERR", "Error 1013: Sys-Exception raised !"},
      {5, "", "ERR", "Error 1015: Other Failure raised !"},
      {23, "", "ERR", "Error 1015: Other Failure raised !"},
      {-1, "", "ERR", "Error 1015: Other Failure raised !"},
  };
  for (const auto& [code, exception, status, text] : cases) {
    SCOPED_TRACE(code);
    CallState state;
    EXPECT_EQ(ClassifyCallOutcome(code, exception, state), code == 0);
    EXPECT_EQ(state.CallStatus, status);
    EXPECT_EQ(state.errorText, text);
  }
}

TEST(ClassifyCallOutcome, ErrorTextsAccumulate) {
  CallState state;
  state.errorText = "before ";
  ClassifyCallOutcome(1, "", state);
  EXPECT_EQ(state.errorText, "before Error 1014: RFC-Failure raised !");
}

}  // namespace
}  // namespace tavorine
