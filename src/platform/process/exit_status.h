#pragma once

namespace tavorine {

// How a run ends, the one thing the monitor reads besides standard output.
enum class ExitStatus : int {
  Finished = 0,     // the run printed its document
  ErrorReport = 1,  // the RFC library reported an error and the report ended the run
  Failed = 2,       // a numbered message in the error document, or a document that could not be delivered
};

}  // namespace tavorine
