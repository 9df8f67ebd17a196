#include "driver/parallel_checks.h"

#include <filesystem>

#include "driver/listing_worker.h"
#include "driver/worker_pool.h"
#include "driver/worker_records.h"
#include "output/messages.h"
#include "platform/append_file.h"
#include "platform/input_file.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// A file the worker's library left in the worker's folder, read as any file
// from outside; none when it is not there or larger than any the library writes.
std::optional<std::string> LeftBehind(const std::string& folder, std::string_view name) {
  WholeFile file = ReadWholeFile(InputFile::OpenNative((std::filesystem::path(folder) / name).string()));
  if (file.fault) return std::nullopt;
  return std::move(file.bytes);
}

// Each worker's library numbers its one connection as the first of its
// process; in one process the library numbers the connections of a run in
// turn, and so does the run log of a parallel run, in listing order.
class ConnectionNumbers {
 public:
  // A worker's log line with its connection's number as the run's.
  std::string Renumbered(const std::string& line) {
    const std::size_t blank = line.find(' ');
    const std::string number = line.substr(0, blank);
    const bool logon = line.find(" RfcOpen called ") == blank || line.find(" RfcOpenEx called ") == blank;
    if (logon) workerHandle_ = number == "0" ? "" : number;
    if (logon && !workerHandle_.empty()) runHandle_ = std::to_string(++opened_);
    return number == workerHandle_ && !number.empty() ? runHandle_ + line.substr(blank) : line;
  }

 private:
  unsigned opened_ = 0;
  std::string workerHandle_;
  std::string runHandle_;
};

// What a worker did, brought into the run: its output and log lines, its
// trace appended to the working directory's, its "SapRfc.ini" written
// there; its result, none when it did not end with one. The waits for the
// files' locks end at the deadline: then the worker's system is not taken
// in, and taken is false.
struct TakenWorker {
  bool taken = true;
  std::optional<SystemResult> result;
};

TakenWorker TakeWorker(Worker& worker, RunLog& runLog, ConnectionNumbers& connections, const RunContext& context,
                       Deadline deadline) {
  TakenWorker taken;
  for (const Record& record : DecodeRecords(worker.printed)) {
    if (record.kind == RecordKind::Output) context.output.Write(record.bytes);
    if (record.kind == RecordKind::Log && !runLog.WriteLine(connections.Renumbered(record.bytes))) return {false, {}};
    if (record.kind == RecordKind::Result) taken.result = DecodeResult(record.bytes);
  }
  const auto trace = LeftBehind(worker.folder.Path(), kTraceFileName);
  if (trace && !AppendFile(kTraceFileName).AppendBytes(*trace, {kAppendLockLimit, deadline})) return {false, {}};
  const auto ini = LeftBehind(worker.folder.Path(), "SapRfc.ini");
  const std::optional<SapRfcIniFault> fault = ini ? WriteSapRfcIni(*ini, deadline) : std::nullopt;
  if (fault == SapRfcIniFault::DeadlineCame) return {false, {}};
  // As in the one-at-a-time run, where the logon found the file locked.
  if (fault == SapRfcIniFault::LockTimedOut && taken.result) {
    taken.result = SystemResult{};
    taken.result->logonFailed = true;
    taken.result->logonFailure = messages::SapRfcIniLocked(static_cast<int>(kSapRfcIniLockWait.count()));
  }
  return taken;
}

class ParallelChecks {
 public:
  ParallelChecks(const RunOptions& options, const std::vector<std::string>& entries, RunLog& runLog,
                 ListingProgress& progress, const RunContext& context)
      : options_(options),
        entries_(entries),
        runLog_(runLog),
        progress_(progress),
        context_(context),
        pool_(static_cast<std::size_t>(options.limits.parallelChecks)),
        prepared_(entries.size()),
        deadline_(DeadlineOf(context, options.limits)) {
  }

  RunEnd Run() {
    while (next_ < entries_.size()) {
      StartWhileRoom();
      if (!prepared_[next_].skipped) {
        const auto awaited = pool_.AwaitEnd(next_, deadline_, started_ < entries_.size());
        if (awaited == WorkerPool::Awaited::DeadlineCame) return GiveUpTheRest();
        if (awaited == WorkerPool::Awaited::Room) continue;
      }
      const TakenWorker worker = Collect(next_);
      if (!worker.taken) return GiveUpTheRest();
      if (auto failure = Take(next_++, worker.result)) return {std::move(failure), true};
    }
    progress_.WriteSummary();
    return {};
  }

 private:
  void StartWhileRoom() {
    while (started_ < entries_.size() && pool_.HasRoom()) {
      PreparedSystem& system = prepared_[started_] = PrepareSystem(options_, entries_[started_]);
      if (!system.skipped) {
        const std::string profile = EncodeProfile(system.profile);
        pool_.Start(started_, [&](const std::string& folder) {
          return ListingWorkerRequest(options_.optionsAsGiven, folder, profile);
        });
      }
      ++started_;
    }
  }

  // What the system's worker did, brought into the run; no result when it
  // had no worker or ended without one. A library error report in the
  // worker ends the run with that report, as it would have in this process.
  TakenWorker Collect(std::size_t system) {
    std::unique_ptr<Worker> worker = pool_.Take(system);
    if (!worker) return {};
    TakenWorker taken = TakeWorker(*worker, runLog_, connections_, context_, deadline_);
    if (worker->status == static_cast<int>(ExitStatus::ErrorReport)) {
      // The process ends here, past every destructor: the workers and their folders go first.
      worker.reset();
      pool_.Close();
      context_.output.EndProcess(ExitStatus::ErrorReport);
    }
    return taken;
  }

  // A system in listing order, done. A worker that crashed or never started
  // leaves its system failed.
  std::optional<RunFailure> Take(std::size_t system, const std::optional<SystemResult>& result) {
    const PreparedSystem& prepared = prepared_[system];
    if (prepared.skipped) return progress_.Take(prepared, nullptr);
    const SystemResult taken = result.value_or(SystemResult{});
    return progress_.Take(prepared, &taken);
  }

  // At the deadline: systems whose worker ended with a result that can be
  // taken in without waiting still count; the others are given up, their
  // workers ended.
  RunEnd GiveUpTheRest() {
    pool_.EndAll();
    for (; next_ < entries_.size(); ++next_) {
      if (next_ >= started_) prepared_[next_] = PrepareSystem(options_, entries_[next_]);
      const PreparedSystem& system = prepared_[next_];
      const TakenWorker worker = system.skipped ? TakenWorker{} : Collect(next_);
      if (system.skipped || (worker.taken && worker.result)) {
        if (auto failure = Take(next_, worker.result)) return {std::move(failure), true};
      } else {
        progress_.GiveUp(system);
      }
    }
    progress_.WriteSummary();
    return {};
  }

  const RunOptions& options_;
  const std::vector<std::string>& entries_;
  RunLog& runLog_;
  ListingProgress& progress_;
  const RunContext& context_;
  WorkerPool pool_;
  std::vector<PreparedSystem> prepared_;
  ConnectionNumbers connections_;
  Deadline deadline_;
  std::size_t started_ = 0;
  std::size_t next_ = 0;
};

}  // namespace

RunEnd CheckInWorkers(const RunOptions& options, const std::vector<std::string>& entries, RunLog& runLog,
                      ListingProgress& progress, const RunContext& context) {
  return ParallelChecks(options, entries, runLog, progress, context).Run();
}

}  // namespace tavorine
