#include "driver/parallel_checks.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/listing_worker.h"
#include "driver/worker_pool.h"
#include "driver/worker_records.h"
#include "platform/append_file.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

using Clock = std::chrono::steady_clock;

// A file the worker's library left in the worker's folder; empty when none.
std::optional<std::string> LeftBehind(const std::string& folder, std::string_view name) {
  std::ifstream file(std::filesystem::path(folder) / name, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
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
// there; its result, none when it did not end with one.
std::optional<SystemResult> TakeWorker(Worker& worker, RunLog& runLog, ConnectionNumbers& connections,
                                       const RunContext& context) {
  std::optional<SystemResult> result;
  for (const Record& record : DecodeRecords(worker.printed)) {
    if (record.kind == RecordKind::Output) context.output.Write(record.bytes);
    if (record.kind == RecordKind::Log) runLog.WriteLine(connections.Renumbered(record.bytes));
    if (record.kind == RecordKind::Result) result = DecodeResult(record.bytes);
  }
  if (const auto trace = LeftBehind(worker.folder.Path(), kTraceFileName)) {
    AppendFile(kTraceFileName).AppendBytes(*trace, {kAppendLockLimit, std::nullopt});
  }
  if (const auto ini = LeftBehind(worker.folder.Path(), "SapRfc.ini")) WriteSapRfcIni(*ini, std::nullopt);
  return result;
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
        prepared_(entries.size()) {
    if (options.limits.timeoutSeconds) deadline_ = context.started + std::chrono::seconds(*options.limits.timeoutSeconds);
  }

  RunEnd Run() {
    while (next_ < entries_.size()) {
      StartWhileRoom();
      if (!prepared_[next_].skipped) {
        const auto awaited = pool_.AwaitEnd(next_, deadline_, started_ < entries_.size());
        if (awaited == WorkerPool::Awaited::DeadlineCame) return GiveUpTheRest();
        if (awaited == WorkerPool::Awaited::Room) continue;
      }
      if (auto failure = TakeNext()) return {std::move(failure), true};
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

  // The result of a system's worker, brought into the run; none when it
  // had no worker or ended without a result. A library error report in the
  // worker ends the run with that report, as it would have in this process.
  std::optional<SystemResult> Collect(std::size_t system) {
    std::unique_ptr<Worker> worker = pool_.Take(system);
    if (!worker) return std::nullopt;
    const std::optional<SystemResult> result = TakeWorker(*worker, runLog_, connections_, context_);
    if (worker->status == static_cast<int>(ExitStatus::ErrorReport)) {
      // The process ends here, past every destructor: the workers and their folders go first.
      worker.reset();
      pool_.Close();
      context_.output.EndProcess(ExitStatus::ErrorReport);
    }
    return result;
  }

  // The next system in listing order, done. A worker that crashed or never
  // started leaves its system failed.
  std::optional<RunFailure> TakeNext() {
    const PreparedSystem& system = prepared_[next_++];
    if (system.skipped) return progress_.Take(system, nullptr);
    const SystemResult result = Collect(next_ - 1).value_or(SystemResult{});
    return progress_.Take(system, &result);
  }

  // At the deadline: systems whose worker ended with a result still count;
  // the others are given up, their workers ended.
  RunEnd GiveUpTheRest() {
    pool_.EndAll();
    for (; next_ < entries_.size(); ++next_) {
      if (next_ >= started_) prepared_[next_] = PrepareSystem(options_, entries_[next_]);
      const PreparedSystem& system = prepared_[next_];
      const std::optional<SystemResult> result = system.skipped ? std::nullopt : Collect(next_);
      if (result) {
        if (auto failure = progress_.Take(system, &*result)) return {std::move(failure), true};
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
  std::optional<Clock::time_point> deadline_;
  std::size_t started_ = 0;
  std::size_t next_ = 0;
};

}  // namespace

RunEnd CheckInWorkers(const RunOptions& options, const std::vector<std::string>& entries, RunLog& runLog,
                      ListingProgress& progress, const RunContext& context) {
  return ParallelChecks(options, entries, runLog, progress, context).Run();
}

}  // namespace tavorine
