#include "driver/group_run/group_checks.h"

#include <mutex>

#include "checks/system_check.h"
#include "driver/group_run/worker_pool.h"
#include "driver/run/check_narration.h"
#include "driver/run/run_deadline.h"
#include "output/messages.h"
#include "platform/files/append_file.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

bool GroupRunLog::Write(std::int32_t number, std::string_view text, std::string_view detail) {
  if (text == "RfcOpen called" || text == "RfcOpenEx called") {
    checkersNumber_.reset();
    if (number != 0) {
      checkersNumber_ = number;
      runsNumber_ = static_cast<std::int32_t>(++opened_);
    }
  }
  return file_.Write(checkersNumber_ == number ? runsNumber_ : number, text, detail);
}

namespace {

// How a system that no worker answered for ended, for the diagnosis.
std::string WithoutOutcome(const WorkerReport& report) {
  if (report.exitStatus < 0) return "its worker crashed or was ended before it answered";
  return "its worker ended with exit status " + std::to_string(report.exitStatus) + " before it answered";
}

enum class TakenIn { Yes, DeadlineCame, RunEnds };

class GroupChecks {
 public:
  GroupChecks(const RunOptions& options, const std::vector<std::string>& entries, RfcRun& rfc, GroupRunLog& runLog,
              ListingProgress& progress, const RunContext& context)
      : options_(options),
        entries_(entries),
        rfc_(rfc),
        runLog_(runLog),
        progress_(progress),
        context_(context),
        prepared_(entries.size()),
        inWorker_(entries.size(), false),
        pool_(options.words.parallelChecks > 1
                  ? std::make_unique<WorkerPool>(static_cast<std::size_t>(options.words.parallelChecks),
                                                 StartRequest{options.optionsAsGiven, {}, TellsSapRfcIni(options)})
                  : nullptr),
        deadline_(context, DeadlineOf(context, options.words), [this] { return EndAtDeadline(); }) {}

  RunEnd Run() {
    std::unique_lock lock(mutex_);
    while (next_ < entries_.size()) {
      HandOut();
      const std::size_t system = next_;
      if (!inWorker_[system]) {
        const PreparedSystem& prepared = Prepared(system);
        const SystemResult result = prepared.skipped ? SystemResult{} : CheckHere(prepared, lock);
        if (auto end = Take(system, prepared.skipped ? nullptr : &result)) return Ended(*end, lock);
        continue;
      }
      const bool handOutMore = handedOut_ < entries_.size();
      if (waitTold_ != system) context_.narration.Say("Waiting for the worker that checks " + prepared_[system]->entry + " ...");
      waitTold_ = system;
      lock.unlock();
      const WorkerPool::Awaited awaited = pool_->Await(system, handOutMore, deadline_.At());
      if (awaited == WorkerPool::Awaited::DeadlineCame) deadline_.AwaitEnding();
      lock.lock();
      if (awaited == WorkerPool::Awaited::Free) continue;
      AwaitEndingOncePassed(lock);
      std::optional<WorkerReport> report = pool_->Take(system);
      RunEnd end;
      const TakenIn taken = TakeIn(system, *report, deadline_.At(), end, false);
      if (taken == TakenIn::DeadlineCame) AwaitEndingOncePassed(lock);
      if (taken == TakenIn::RunEnds) return Ended(end, lock);
    }
    lock.unlock();
    deadline_.TakeEnding();
    progress_.WriteSummary();
    return {};
  }

 private:
  // Systems go to workers in listing order, as long as one is free; a
  // system that no worker can take is checked here when its turn comes.
  void HandOut() {
    while (pool_ && !workersGone_ && handedOut_ < entries_.size()) {
      const std::size_t system = handedOut_;
      const PreparedSystem& prepared = Prepared(system);
      if (!prepared.skipped) {
        std::string why;
        const CheckRequest request{prepared.profile, ReadDestinationIni(prepared.profile.Destination)};
        const WorkerPool::Given given = pool_->Give(system, request, why);
        if (given == WorkerPool::Given::NoWorker) {
          context_.narration.Say("No worker can be started (" + why + "): the systems from " + prepared.entry +
                                 " on are checked in this process, one after the other, as with ,PAR=1");
          workersGone_ = true;
          return;
        }
        if (!why.empty()) {
          const std::size_t size = pool_->Size();
          context_.narration.Say("No further worker can be started (" + why + "): the run goes on with " +
                                 std::to_string(size) + (size == 1 ? " worker" : " workers"));
        }
        if (given == WorkerPool::Given::AllBusy) return;
        inWorker_[system] = true;
      }
      ++handedOut_;
    }
  }

  const PreparedSystem& Prepared(std::size_t system) {
    if (!prepared_[system]) prepared_[system] = PrepareSystem(options_, entries_[system]);
    return *prepared_[system];
  }

  // The system checked in this process, as the run checks every system with
  // ,PAR=1; the lock is not held while the library works.
  SystemResult CheckHere(const PreparedSystem& system, std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    rfc_.Report().InstallEnvironment();
    const std::optional<WholeFile> destinationIni = ReadDestinationIni(system.profile.Destination);
    context_.narration.Say("Checking " + system.entry + " in this process:");
    CheckNarration told(context_.narration, system.profile, destinationIni.has_value(), 1);
    const SystemCheckContext check{
        rfc_.Session(), context_.output, options_.words.logon, deadline_.At(), TellsSapRfcIni(options_),
        [&told](CheckStep step, const SystemOutcome& sofar) { told.Begin(step, sofar); }};
    SystemOutcome outcome = CheckSystem(check, system.profile, destinationIni);
    told.End(outcome);
    lock.lock();
    AwaitEndingOncePassed(lock);
    return {std::move(outcome), {}};
  }

  // A system done after the deadline is the deadline's to give up.
  void AwaitEndingOncePassed(std::unique_lock<std::mutex>& lock) {
    if (!deadline_.Passed()) return;
    lock.unlock();
    deadline_.AwaitEnding();
  }

  std::optional<RunEnd> Take(std::size_t system, const SystemResult* result) {
    ++next_;
    if (auto failure = progress_.Take(*prepared_[system], result)) return RunEnd{std::move(failure), true};
    return std::nullopt;
  }

  RunEnd Ended(RunEnd end, std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    deadline_.TakeEnding();
    return end;
  }

  // What a worker printed and left for the system, brought into the run as
  // the run writes it checking one system after the other. The waits for the
  // files' locks end at waitUntil: then the system is not taken in. Each
  // destination gets its bytes in listing order, whatever the order among
  // them; at the deadline, standard output gets none of a system that is
  // then given up, as the run checking one system after the other would
  // never have come to it.
  TakenIn TakeIn(std::size_t system, WorkerReport& report, Deadline waitUntil, RunEnd& end, bool atDeadline) {
    for (const Record& record : report.printed) {
      if (record.kind == RecordKind::Output && !atDeadline) context_.output.Write(record.bytes);
      const std::optional<LogLine> line = record.kind == RecordKind::Log ? DecodeLog(record.bytes) : std::nullopt;
      if (line && !runLog_.Write(line->number, line->text, line->detail)) return TakenIn::DeadlineCame;
    }
    if (report.trace) {
      // One for the run: a lock that another process keeps is waited for once.
      if (!trace_) trace_ = std::make_unique<AppendFile>(kTraceFileName);
      if (!trace_->AppendBytes(*report.trace, {kAppendLockLimit, waitUntil})) return TakenIn::DeadlineCame;
    }
    SystemResult result{std::move(report.outcome), report.outcome ? std::string() : WithoutOutcome(report)};
    const auto fault = report.sapRfcIni ? WriteSapRfcIni(*report.sapRfcIni, waitUntil) : std::nullopt;
    if (fault == SapRfcIniFault::DeadlineCame) return TakenIn::DeadlineCame;
    if (fault == SapRfcIniFault::LockTimedOut && result.outcome) {
      // As where the logon itself met the lock, one system after the other.
      result.outcome = SystemOutcome{};
      result.outcome->throughSapRfcIni = true;
      result.outcome->logonFailure = messages::SapRfcIniLocked(static_cast<int>(kSapRfcIniLockWait.count()));
    }
    for (const Record& record : report.printed) {
      if (record.kind == RecordKind::Output && atDeadline) context_.output.Write(record.bytes);
    }
    if (!result.outcome && report.exitStatus == static_cast<int>(ExitStatus::ErrorReport)) {
      end.errorReport = true;
      return TakenIn::RunEnds;
    }
    if (auto ending = Take(system, &result)) {
      end = std::move(*ending);
      return TakenIn::RunEnds;
    }
    return TakenIn::Yes;
  }

  // At the deadline, on the deadline's thread: systems whose worker answered
  // and that can be taken in without waiting still count; the others are
  // given up, their workers ended and their folders removed.
  ExitStatus EndAtDeadline() {
    const std::lock_guard lock(mutex_);
    context_.output.ClaimEnding();
    if (pool_) pool_->EndAll();
    while (next_ < entries_.size()) {
      const std::size_t system = next_;
      const PreparedSystem& prepared = Prepared(system);
      std::optional<WorkerReport> report = inWorker_[system] ? pool_->Take(system) : std::nullopt;
      RunEnd end;
      const TakenIn taken =
          report && report->outcome ? TakeIn(system, *report, deadline_.At(), end, true) : TakenIn::DeadlineCame;
      if (taken == TakenIn::RunEnds) return EndRun(end, options_.outputMode, context_.output);
      if (taken == TakenIn::Yes) continue;
      ++next_;
      progress_.GiveUp(prepared);
    }
    progress_.WriteSummary();
    return EndRun({}, options_.outputMode, context_.output);
  }

  const RunOptions& options_;
  const std::vector<std::string>& entries_;
  RfcRun& rfc_;
  GroupRunLog& runLog_;
  ListingProgress& progress_;
  const RunContext& context_;
  // The systems' state and the progress, shared by the run's thread and the deadline's.
  std::mutex mutex_;
  std::vector<std::optional<PreparedSystem>> prepared_;
  std::vector<bool> inWorker_;
  std::size_t handedOut_ = 0;
  std::size_t next_ = 0;
  std::size_t waitTold_ = SIZE_MAX;  // the system whose wait a diagnosis told last
  std::unique_ptr<AppendFile> trace_;  // Dev_Rfc.Trc, where the workers' traces go
  std::unique_ptr<WorkerPool> pool_;  // none: every system is checked here
  bool workersGone_ = false;          // no worker can be started: the rest is checked here
  RunDeadline deadline_;
};

}  // namespace

RunEnd CheckGroup(const RunOptions& options, const std::vector<std::string>& entries, RfcRun& rfc,
                  GroupRunLog& runLog, ListingProgress& progress, const RunContext& context) {
  return GroupChecks(options, entries, rfc, runLog, progress, context).Run();
}

}  // namespace tavorine
