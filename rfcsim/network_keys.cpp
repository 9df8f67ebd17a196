#include "network_keys.h"

#include <charconv>
#include <cstdint>

#include "catalogue.h"

namespace rfcsim {
namespace {

// Ten minutes: longer than any sensor waits, short enough to be a mistake
// when it is exceeded.
constexpr uint32_t kLongestWait = 600000;

std::string Milliseconds(std::string_view value, std::optional<uint32_t>& target) {
  uint32_t number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (value.empty() || error != std::errc() || end != value.data() + value.size() || number > kLongestWait) {
    return "expected milliseconds from 0 to " + std::to_string(kLongestWait);
  }
  target = number;
  return {};
}

std::string Step(std::string_view value, std::optional<std::string>& target) {
  const std::string step = UpperCase(value);
  if (step.empty()) return "expected logon or a function module";
  if (step != kLogonStep && !FindFunction(step)) return "unknown function module " + step;
  target = step;
  return {};
}

}  // namespace

std::optional<std::string> ApplyNetworkKey(NetworkConduct& network, std::string_view key, std::string_view value) {
  constexpr std::string_view kFunctionLatency = "LATENCY.CALL.";
  if (key == "LATENCY.LOGON") return Milliseconds(value, network.logonLatency);
  if (key == "LATENCY.CALL") return Milliseconds(value, network.callLatency);
  if (key == "JITTER") return Milliseconds(value, network.jitter);
  if (key == "HANG") return Step(value, network.hang);
  if (key == "CRASH") return Step(value, network.crash);
  if (!key.starts_with(kFunctionLatency)) return std::nullopt;
  const std::string_view function = key.substr(kFunctionLatency.size());
  if (!FindFunction(function)) return "unknown function module " + std::string(function);
  std::optional<uint32_t> latency;
  std::string problem = Milliseconds(value, latency);
  if (latency) network.functionLatency[std::string(function)] = *latency;
  return problem;
}

void InheritNetwork(NetworkConduct& system, const NetworkConduct& defaults) {
  if (!system.logonLatency) system.logonLatency = defaults.logonLatency;
  if (!system.callLatency) system.callLatency = defaults.callLatency;
  system.functionLatency.insert(defaults.functionLatency.begin(), defaults.functionLatency.end());
  if (!system.jitter) system.jitter = defaults.jitter;
  if (!system.hang) system.hang = defaults.hang;
  if (!system.crash) system.crash = defaults.crash;
}

}  // namespace rfcsim
