#include "rfc/call_outcome.h"

#include <gtest/gtest.h>

namespace tavorine {
namespace {

TEST(ClassifyCallOutcome, TurnsCodesIntoStatusAndErrorText) {
  const std::vector<std::tuple<RFC_RC, std::string, CallStatus, std::string>> cases = {
      {0, "", CallStatus::OK, ""},
      {1, "", CallStatus::ERR, "Error 1014: RFC-Failure raised !"},
      {2, "NOT_FOUND", CallStatus::ERR, "Error 1012: Exception.: NOT_FOUND"},
      {3, "SYSTEM_FAILURE", CallStatus::ERR, "Error 1013: Sys-Exception raised !"},
      {5, "", CallStatus::ERR, "Error 1015: Other Failure raised !"},
      {23, "", CallStatus::ERR, "Error 1015: Other Failure raised !"},
      {-1, "", CallStatus::ERR, "Error 1015: Other Failure raised !"},
  };
  for (const auto& [code, exception, status, text] : cases) {
    SCOPED_TRACE(code);
    CallState state;
    EXPECT_EQ(ClassifyCallOutcome(code, exception, state), code == 0);
    EXPECT_EQ(state.callStatus, status);
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
