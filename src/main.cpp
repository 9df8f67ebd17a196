#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "driver/program.h"
#include "driver/run/road.h"
#include "output/messages.h"
#include "platform/process/process_end.h"
#include "platform/process/standard_streams.h"

namespace {

// The process's only ways out besides returning from main.
class MainProcessEnd final : public tavorine::ProcessEnd {
 public:
  [[noreturn]] void AfterErrorReport(tavorine::ExitStatus status) const override {
    std::exit(static_cast<int>(status));
  }
  [[noreturn]] void AtOnce(tavorine::ExitStatus status) const override {
    tavorine::TerminateThisProcess(status);
    std::_Exit(static_cast<int>(status));
  }
};

// The last resort: whatever escaped the run still ends it with a document.
int ReportEscaped(tavorine::OutputSink& output, const char* what) {
  const tavorine::RunEnd end{tavorine::messages::InternalFailure(what)};
  return static_cast<int>(tavorine::EndRun(end, tavorine::OutputMode::EXEXML, output));
}

}  // namespace

int main(int argc, char** argv) {
  tavorine::StandardOutput output(tavorine::PrepareStandardStreams());
  const MainProcessEnd processEnd;
  try {
    return static_cast<int>(
        tavorine::RunProgram(std::vector<std::string>(argv, argv + argc), output, processEnd));
  } catch (const std::exception& escaped) {
    return ReportEscaped(output, escaped.what());
  } catch (...) {
    return ReportEscaped(output, "unknown exception");
  }
}
