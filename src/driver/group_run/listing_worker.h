#pragma once
#include <string_view>

#include "driver/run/road.h"
#include "platform/process/exit_status.h"

namespace tavorine {

// The argument that starts the program as a worker of a group run. No
// profile has this name: a profile name never begins with "--".
inline constexpr std::string_view kListingWorkerWord = "--listing-worker";

// A worker checks the systems of a group run that its parent hands it, one
// after the other, in a process of its own: a crash or a hang in one
// system's library calls takes no other system down, and the library, which
// nothing says may be used from several threads, is used by one thread of
// each process. It reads the records of worker_protocol.h from standard
// input: first the run's options and its private folder, then one system at
// a time, each checked from the same start as in a fresh process. The
// library's environment is installed in the sensor's working directory; then
// the worker moves to its private folder, so that the trace and "SapRfc.ini"
// the library uses there are the system's alone, for the parent to take.
// Everything it prints goes to its parent as records, each system's outcome
// last. It ends when its input ends. It takes records of bounded size only,
// and works only in a private folder that its parent made (parentId: the
// parent's process id as it passed it); it ends without a word when its
// parent is gone or a request is not what it must be. context's output is
// the pipe to the parent.
ExitStatus RunListingWorker(std::string_view parentId, const RunContext& context);

}  // namespace tavorine
