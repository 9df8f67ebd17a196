#include "driver/group_run/listing_worker.h"

#include <filesystem>
#include <variant>

#include "checks/system_check.h"
#include "driver/group_run/worker_protocol.h"
#include "driver/run/narration.h"
#include "driver/run/rfc_run.h"
#include "platform/process/child_process.h"
#include "platform/process/private_folder.h"
#include "platform/process/standard_streams.h"

namespace tavorine {

namespace {

// The worker's printed bytes, as records to its parent.
class RecordedOutput final : public OutputSink {
 public:
  explicit RecordedOutput(OutputSink& toParent) : toParent_(toParent) {}

 private:
  bool WriteAll(std::string_view bytes) override {
    toParent_.Write(EncodeRecord(RecordKind::Output, bytes));
    return toParent_.Delivered();
  }
  OutputSink& toParent_;
};

// The run's options as the start request gives them, and the folder to work
// in; none when the request is not what a parent sends.
struct Start {
  RunOptions options;
  std::string folder;
  bool tellsSapRfcIni = false;
};

std::optional<Start> ReadStart(RecordReader& requests, std::string_view parentId) {
  const std::optional<Record> record = requests.Next();
  if (!record || record->kind != RecordKind::Start) return std::nullopt;
  std::optional<StartRequest> request = DecodeStart(record->bytes);
  if (!request || !IsPrivateFolderOf(request->folder, parentId)) return std::nullopt;
  auto words = ReadOptionWords(request->optionsAsGiven);
  if (std::holds_alternative<RunFailure>(words)) return std::nullopt;
  Start start;
  start.options.optionsAsGiven = std::move(request->optionsAsGiven);
  start.options.words = std::get<OptionWords>(words);
  // The parent keeps the run's deadline and ends its workers there.
  start.options.words.timeoutSeconds.reset();
  start.folder = std::move(request->folder);
  start.tellsSapRfcIni = request->tellsSapRfcIni;
  return start;
}

}  // namespace

ExitStatus RunListingWorker(std::string_view parentId, const RunContext& context) {
  OutputSink& toParent = context.output;
  if (!EndsWithParent(parentId)) return ExitStatus::Failed;
  PipeStream input(StandardInput());
  RecordReader requests(input);
  const std::optional<Start> start = ReadStart(requests, parentId);
  if (!start) return ExitStatus::Failed;

  RecordedOutput output(toParent);
  const Narration silent;
  const RunContext workerContext{output, silent, context.processEnd, context.started};
  auto started = RfcRun::Start(start->options, workerContext,
                               [&toParent](std::int32_t number, std::string_view text, std::string_view detail) {
                                 toParent.Write(EncodeRecord(RecordKind::Log, EncodeLog({number, std::string(text),
                                                                                         std::string(detail)})));
                               });
  if (std::holds_alternative<RunFailure>(started)) return ExitStatus::Failed;
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);
  rfc.Report().InstallEnvironment();
  std::error_code moved;
  std::filesystem::current_path(start->folder, moved);
  if (moved) return ExitStatus::Failed;

  const SystemCheckContext check{rfc.Session(), output, start->options.words.logon, std::nullopt,
                                 start->tellsSapRfcIni, {}};
  while (const std::optional<Record> record = requests.Next()) {
    const std::optional<CheckRequest> request =
        record->kind == RecordKind::Check ? DecodeCheck(record->bytes) : std::nullopt;
    if (!request) return ExitStatus::Failed;
    // As a group run in one process does for every system.
    rfc.Report().InstallEnvironment();
    const SystemOutcome outcome = CheckSystem(check, request->profile, request->destinationIni);
    toParent.Write(EncodeRecord(RecordKind::Result, EncodeOutcome(outcome)));
    if (!toParent.Delivered()) return ExitStatus::Failed;
  }
  return requests.Broken() ? ExitStatus::Failed : ExitStatus::Finished;
}

}  // namespace tavorine
