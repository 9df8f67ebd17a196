#pragma once
// The time a step takes on the simulated network, and the waiting itself.
#include <cstdint>
#include <string_view>

#include "description.h"

namespace rfcsim {

// The step's latency without jitter: latency.logon for the logon; for a
// function module its own latency.call.FM, or else latency.call.
uint32_t LatencyMilliseconds(const NetworkConduct& network, std::string_view step);

// From 0 to `most`, for the count-th time (from 1) that the destination takes
// the step in this process. The same inputs give the same value in every run,
// and no state is shared between systems.
uint32_t JitterMilliseconds(std::string_view destination, std::string_view step, uint64_t count, uint32_t most);

void Pause(uint32_t milliseconds);

// Blocks the calling thread until the process ends.
[[noreturn]] void WaitForever();

// Ends the process as a crash of the library would: at once, without any
// clean-up of the library's own (so neither the trace nor the end-of-process
// check hears of it), with the status of a crash.
[[noreturn]] void Crash();

}  // namespace rfcsim
