#pragma once
#include <string>
#include <vector>

#include "driver/listing_progress.h"
#include "driver/road.h"
#include "output/run_log.h"

namespace tavorine {

// The systems of a listing run checked by up to ,PAR= workers at once, each
// in a process of its own (listing_worker.h). Their results are taken in
// listing order, each as soon as it and all before it are done: what a
// worker printed, its run-log lines, its library trace and its "SapRfc.ini"
// reach standard output and the working directory as the one-at-a-time run
// would write them, and a failure that ends the run ends it at the same
// system, the results after it discarded. A worker that crashes leaves its
// system failed; one whose library reports an error ends the run with that
// report, as in the one-at-a-time run. At the ,TIMEOUT= deadline the systems
// not done are given up and the summary is written.
RunEnd CheckInWorkers(const RunOptions& options, const std::vector<std::string>& entries, RunLog& runLog,
                      ListingProgress& progress, const RunContext& context);

}  // namespace tavorine
