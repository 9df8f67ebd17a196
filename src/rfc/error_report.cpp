#include "rfc/error_report.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "output/print_field.h"

namespace tavorine {

namespace {

constexpr int kFieldWidth = 15;

// The one report the library's context-free callback can reach.
const RfcErrorReport* boundReport = nullptr;

extern "C" void RfcErrorReportCallback(char* operation) {
  // Inside the library's callback, with no report to write: the library must not resume.
  if (boundReport == nullptr) std::exit(static_cast<int>(ExitStatus::ErrorReport));
  boundReport->Report(operation != nullptr ? operation : "");
}

// The library may keep the record's address and call through it at any later
// failure, so it lives as long as the process.
RFC_ENV environment{&RfcErrorReportCallback, nullptr};

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

}  // namespace

RfcErrorReport::RfcErrorReport(const RfcLibrary& library, OutputSink& output, const ProcessEnd& processEnd)
    : library_(library), output_(output), processEnd_(processEnd) {
  boundReport = this;
}

RfcErrorReport::~RfcErrorReport() {
  if (boundReport == this) boundReport = nullptr;
}

void RfcErrorReport::InstallEnvironment() const { library_.RfcEnvironment(&environment); }

void RfcErrorReport::Report(std::string_view operation) const {
  std::string report = "RFC error\n";
  report += PrintField("operation/code", 0, kFieldWidth, operation);
  RFC_ERROR_INFO record;
  std::memset(&record, 0, sizeof record);
  library_.RfcLastError(&record);
  report += PrintField("key", 0, kFieldWidth, FieldText(record.key));
  report += PrintField("status", 0, kFieldWidth, FieldText(record.status));
  report += PrintField("message", 0, kFieldWidth, FieldText(record.message));
  report += PrintField("internal status", 0, kFieldWidth, FieldText(record.intstat));
  report += "\n";
  output_.Write(report);
  library_.RfcClose(0);
  // The report has no end-of-output file to write; the line that says so is
  // kept, since people who read these reports know it as the report's end.
  output_.Write("* Programm aborted...\n* Error at EoXput-File...\n");
  processEnd_.AfterErrorReport(output_.StatusAfter(ExitStatus::ErrorReport));
}

}  // namespace tavorine
