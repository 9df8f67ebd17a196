#include "driver/diagnosis/diagnosis.h"

#include <filesystem>

#include "driver/run/narration.h"
#include "driver/startup/sensor_call.h"

namespace tavorine {

namespace {

std::string Meaning(ExitStatus status) {
  switch (status) {
    case ExitStatus::Finished: return "the run finished";
    case ExitStatus::ErrorReport: return "the RFC library reported an error and ended the run";
    case ExitStatus::Failed: return "the run failed with a numbered message";
  }
  return {};
}

// What the sensor call prints, kept to be shown after the account of how it
// came about.
class MonitorsOutput final : public OutputSink {
 public:
  explicit MonitorsOutput(const Narration& narration) : narration_(narration) {}

  void Show(ExitStatus status) const {
    narration_.Say("The monitor would receive this, with exit status " + std::to_string(static_cast<int>(status)) +
                   " (" + Meaning(status) + "):");
    narration_.Say(text_.empty() ? "(nothing)" : text_);
  }

 private:
  bool WriteAll(std::string_view bytes) override {
    text_ += bytes;
    return true;
  }
  const Narration& narration_;
  std::string text_;
};

// Where the run ends the process itself (the library's error report, the
// deadline), what the monitor would receive is shown first.
class ShownProcessEnd final : public ProcessEnd {
 public:
  ShownProcessEnd(const MonitorsOutput& monitors, const ProcessEnd& end) : monitors_(monitors), end_(end) {}

  void AfterErrorReport(ExitStatus status) const override {
    monitors_.Show(status);
    end_.AfterErrorReport(status);
  }
  void AtOnce(ExitStatus status) const override {
    monitors_.Show(status);
    end_.AtOnce(status);
  }

 private:
  const MonitorsOutput& monitors_;
  const ProcessEnd& end_;
};

std::string WorkingDirectory() {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::current_path(error);
  return error ? "(unknown)" : directory.string();
}

}  // namespace

ExitStatus RunDiagnosis(const std::vector<std::string>& arguments, const RunContext& context) {
  const Narration narration(context.output);
  std::string call;
  for (std::size_t i = 1; i < arguments.size(); ++i) call += " " + arguments[i];
  narration.Say("Diagnosis of the sensor call:" + call);
  narration.Say("Working directory: " + WorkingDirectory());
  MonitorsOutput monitors(narration);
  const ShownProcessEnd processEnd(monitors, context.processEnd);
  const ExitStatus status = RunSensorCall(arguments, {monitors, narration, processEnd, context.started});
  monitors.Show(status);
  return status;
}

}  // namespace tavorine
