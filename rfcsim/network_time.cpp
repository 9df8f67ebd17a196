#include "network_time.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

#include <cstdlib>

#include "network_keys.h"

namespace rfcsim {
namespace {

// FNV-1a: a fixed, portable hash, so that runs repeat on every platform.
uint64_t Mixed(uint64_t hash, std::string_view bytes) {
  for (const unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001B3u;
  return (hash ^ 0xFF) * 0x100000001B3u;  // ends the field, so "AB"+"C" differs from "A"+"BC"
}

// The final mix of splitmix64 spreads neighbouring counts over the range.
uint64_t Spread(uint64_t value) {
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

}  // namespace

uint32_t LatencyMilliseconds(const NetworkConduct& network, std::string_view step) {
  if (step == kLogonStep) return network.logonLatency.value_or(0);
  const auto own = network.functionLatency.find(step);
  return own != network.functionLatency.end() ? own->second : network.callLatency.value_or(0);
}

uint32_t JitterMilliseconds(std::string_view destination, std::string_view step, uint64_t count, uint32_t most) {
  const uint64_t hash = Mixed(Mixed(0xCBF29CE484222325u, UpperCase(destination)), step);
  return static_cast<uint32_t>(Spread(hash ^ count) % (uint64_t{most} + 1));
}

void Pause(uint32_t milliseconds) {
  if (milliseconds == 0) return;
#ifdef _WIN32
  // Sleep keeps the DLL free of the threads library that std::this_thread needs there.
  Sleep(milliseconds);
#else
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
#endif
}

void WaitForever() {
  for (;;) Pause(60000);
}

void Crash() {
#ifdef _WIN32
  // abort() would end through ExitProcess, which runs the DLL's clean-up;
  // the status is that of an access violation.
  constexpr UINT kAccessViolation = 0xC0000005;
  TerminateProcess(GetCurrentProcess(), kAccessViolation);
#endif
  std::abort();
}

}  // namespace rfcsim
