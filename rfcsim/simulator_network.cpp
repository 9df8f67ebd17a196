#include "network_time.h"
#include "simulator.h"

namespace rfcsim {

void Simulator::Answer(const SystemDescription& system, std::string_view step) {
  const NetworkConduct& network = system.network;
  // Like a library that crashes: no trace block, no callback, no clean-up.
  if (network.crash == step) Crash();
  if (network.hang == step) WaitForever();
  uint32_t milliseconds = LatencyMilliseconds(network, step);
  if (network.jitter) {
    const uint64_t count = ++stepCounts_[{system.destination, std::string(step)}];
    milliseconds += JitterMilliseconds(system.destination, step, count, *network.jitter);
  }
  Pause(milliseconds);
}

}  // namespace rfcsim
