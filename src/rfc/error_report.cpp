#include "rfc/error_report.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "output/print_field.h"
#include "platform/console.h"

namespace tavorine {

namespace {

constexpr int kExitErrorReport = 1;
constexpr int kFieldWidth = 15;

const RfcLibrary* reportLibrary = nullptr;

extern "C" void RfcErrorReportCallback(char* operation) { RfcErrorReport(operation != nullptr ? operation : ""); }

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

}  // namespace

void InstallRfcErrorReport(const RfcLibrary& library) {
  reportLibrary = &library;
  RFC_ENV environment{&RfcErrorReportCallback, nullptr};
  library.RfcEnvironment(&environment);
}

void RfcErrorReport(std::string_view operation) {
  std::string report = "RFC error\n";
  report += PrintField("operation/code", 0, kFieldWidth, operation);
  RFC_ERROR_INFO record;
  std::memset(&record, 0, sizeof record);
  if (reportLibrary != nullptr) reportLibrary->RfcLastError(&record);
  report += PrintField("key", 0, kFieldWidth, FieldText(record.key));
  report += PrintField("status", 0, kFieldWidth, FieldText(record.status));
  report += PrintField("message", 0, kFieldWidth, FieldText(record.message));
  report += PrintField("internal status", 0, kFieldWidth, FieldText(record.intstat));
  report += "\n";
  Print(report);
  if (reportLibrary != nullptr) reportLibrary->RfcClose(0);
  // The report has no end-of-output file to write; the line that says so is
  // kept, since people who read these reports know it as the report's end.
  Print("* Programm aborted...\n* Error at EoXput-File...\n");
  std::fflush(stdout);
  std::exit(kExitErrorReport);
}

}  // namespace tavorine
