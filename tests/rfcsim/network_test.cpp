#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "network_time.h"

namespace rfcsim {
namespace {

TEST(NetworkTime, JitterRepeatsForTheSameStepAndStaysWithinItsBound) {
  std::set<uint32_t> seen;
  for (uint64_t count = 1; count <= 200; ++count) {
    const uint32_t jitter = JitterMilliseconds("DEV", "GET_CPU_ALL", count, 40);
    EXPECT_LE(jitter, 40u);
    EXPECT_EQ(jitter, JitterMilliseconds("dev", "GET_CPU_ALL", count, 40));
    seen.insert(jitter);
  }
  EXPECT_GT(seen.size(), 30u);
  EXPECT_TRUE(seen.contains(0) && seen.contains(40));
  EXPECT_EQ(JitterMilliseconds("DEV", "LOGON", 1, 0), 0u);
  EXPECT_NE(JitterMilliseconds("DEV", "LOGON", 1, 1000000), JitterMilliseconds("QAS", "LOGON", 1, 1000000));
}

TEST(NetworkTime, AFunctionModulesOwnLatencyWinsOverTheCallLatency) {
  NetworkConduct network;
  network.logonLatency = 300;
  network.callLatency = 20;
  network.functionLatency["GET_CPU_ALL"] = 50;
  EXPECT_EQ(LatencyMilliseconds(network, "LOGON"), 300u);
  EXPECT_EQ(LatencyMilliseconds(network, "GET_CPU_ALL"), 50u);
  EXPECT_EQ(LatencyMilliseconds(network, "RFC_SYSTEM_INFO"), 20u);
  EXPECT_EQ(LatencyMilliseconds(NetworkConduct{}, "LOGON"), 0u);
}

}  // namespace
}  // namespace rfcsim
