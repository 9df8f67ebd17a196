#pragma once
#include <string_view>

#include "platform/exit_status.h"
#include "platform/output_sink.h"

namespace tavorine {

// The argument that starts the program as a worker of a listing run. No
// profile has this name: a profile name never begins with "--".
inline constexpr std::string_view kListingWorkerWord = "--listing-worker";

// A worker checks one system of a listing run in a process of its own: a
// crash or a hang in one system's logon takes no other system down, and the
// library, which nothing says may be used from several threads, is used by
// one thread of each process. The request on standard input: the run's
// options as typed, the worker's private working directory, and the
// system's profile. The library's environment is installed and
// "SapRfc.<destination>" read in the sensor's working directory; then the
// worker moves to its private one, so that the trace and "SapRfc.ini" the
// library uses there are the system's alone. Everything the worker prints
// goes to its parent as records (worker_records.h), its result last. It
// takes a request of bounded size only, and works only in a private folder
// that its parent made (parentId: the parent's process id as it passed it);
// it ends without a word otherwise, and when its parent is gone.
ExitStatus RunListingWorker(std::string_view parentId, OutputSink& toParent);

// The request of a listing run to a worker.
std::string ListingWorkerRequest(std::string_view optionsAsGiven, std::string_view privateFolder,
                                 std::string_view profile);

}  // namespace tavorine
