#include <exception>
#include <string>
#include <vector>

#include "driver/program.h"
#include "output/messages.h"
#include "output/result_document.h"
#include "platform/standard_streams.h"

namespace {

// The last resort: whatever escaped the run still ends it with a document.
int ReportEscaped(tavorine::OutputSink& output, const char* what) {
  tavorine::ResultDocument document(tavorine::OutputMode::EXEXML);
  document.DocError(tavorine::messages::InternalFailure(what).message);
  output.Write(document.Text());
  return static_cast<int>(tavorine::ExitStatus::Failed);
}

}  // namespace

int main(int argc, char** argv) {
  tavorine::StandardOutput output(tavorine::PrepareStandardStreams());
  try {
    return static_cast<int>(tavorine::RunProgram(std::vector<std::string>(argv, argv + argc), output));
  } catch (const std::exception& escaped) {
    return ReportEscaped(output, escaped.what());
  } catch (...) {
    return ReportEscaped(output, "unknown exception");
  }
}
