#pragma once
#include <string_view>

#include "platform/process/output_sink.h"
#include "platform/process/process_end.h"
#include "rfc/rfc_library.h"

namespace tavorine {

// The report of a failure inside the RFC library: "RFC error", the operation,
// the four fields of the library's error record, then every connection closed
// and the process ended with exit status 1. The library calls it through the
// error callback installed with RfcEnvironment; the program calls it when a
// structure or table operation fails.
//
// The library's callback carries no context, so the report it reaches is the
// one bound to the process: the object binds itself on construction and
// unbinds on destruction, and its owner keeps it no longer than the library
// it names. One report is bound at a time.
class RfcErrorReport {
 public:
  RfcErrorReport(const RfcLibrary& library, OutputSink& output, const ProcessEnd& processEnd);
  ~RfcErrorReport();
  RfcErrorReport(const RfcErrorReport&) = delete;
  RfcErrorReport& operator=(const RfcErrorReport&) = delete;

  // RfcEnvironment with this report's callback as the error handler and no allocator.
  void InstallEnvironment() const;

  // Writes the report through the run's output and ends the process from
  // here: a library that calls back into us must not resume.
  void Report(std::string_view operation) const;

 private:
  const RfcLibrary& library_;
  OutputSink& output_;
  const ProcessEnd& processEnd_;
};

}  // namespace tavorine
