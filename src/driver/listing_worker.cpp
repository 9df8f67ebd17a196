#include "driver/listing_worker.h"

#include <filesystem>
#include <variant>

#include "driver/listed_system.h"
#include "driver/narration.h"
#include "driver/rfc_run.h"
#include "driver/worker_records.h"
#include "platform/ascii_case.h"
#include "platform/child_process.h"
#include "platform/input_file.h"
#include "platform/private_folder.h"
#include "platform/standard_streams.h"
#include "rfc/sap_rfc_ini.h"

namespace tavorine {

namespace {

// A request carries the options and one profile: well within the size of
// the largest file the program reads, since both come from such files.
constexpr std::size_t kWorkerRequestLimit = 2 * kInputFileLimit;

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

}  // namespace

std::string ListingWorkerRequest(std::string_view optionsAsGiven, std::string_view privateFolder,
                                 std::string_view profile) {
  return JoinFields({std::string(optionsAsGiven), std::string(privateFolder), std::string(profile)});
}

ExitStatus RunListingWorker(std::string_view parentId, OutputSink& toParent) {
  if (!EndsWithParent(parentId)) return ExitStatus::Failed;
  bool complete = false;
  const std::string bytes = ReadStandardInput(kWorkerRequestLimit, complete);
  const auto request = SplitFields(bytes);
  if (!complete || !request || request->size() != 3) return ExitStatus::Failed;
  if (!IsPrivateFolderOf((*request)[1], parentId)) return ExitStatus::Failed;
  const std::optional<ProfileData> profile = DecodeProfile((*request)[2]);
  if (!profile) return ExitStatus::Failed;
  RunOptions options;
  options.optionsAsGiven = (*request)[0];
  options.optionsText = AsciiUpperCase(options.optionsAsGiven);

  RecordedOutput output(toParent);
  const Narration silent;
  auto started = RfcRun::Start(options, output, silent, std::nullopt, [&toParent](std::string_view line) {
    toParent.Write(EncodeRecord(RecordKind::Log, line));
  });
  if (std::holds_alternative<RunFailure>(started)) return ExitStatus::Failed;
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);
  rfc.Report().InstallEnvironment();
  const std::optional<WholeFile> destinationIni = ReadDestinationIni(profile->Destination);
  std::error_code moved;
  std::filesystem::current_path((*request)[1], moved);
  if (moved) return ExitStatus::Failed;

  PreparedSystem system;
  system.profile = *profile;
  LogonRecords records;
  const SystemResult result = CheckPreparedSystem(system, destinationIni, options, rfc, records, output, std::nullopt);
  toParent.Write(EncodeRecord(RecordKind::Result, EncodeResult(result)));
  return toParent.Delivered() ? ExitStatus::Finished : ExitStatus::Failed;
}

}  // namespace tavorine
