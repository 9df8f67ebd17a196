#include "driver/group_run/worker_pool.h"

#include <algorithm>
#include <filesystem>

#include "driver/group_run/listing_worker.h"
#include "platform/files/input_file.h"
#include "platform/files/native_file.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// A file the worker's library left in the worker's folder, read as any file
// from outside and removed, so the next system starts without it; none when
// it is not there or larger than any the library writes.
std::optional<std::string> TakeFile(const std::string& folder, std::string_view name) {
  const std::filesystem::path path = std::filesystem::path(folder) / name;
  WholeFile file = ReadWholeFile(InputFile::OpenNative(path.string()));
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  if (file.fault) return std::nullopt;
  return std::move(file.bytes);
}

}  // namespace

struct WorkerPool::Worker {
  PrivateFolder folder;
  std::unique_ptr<ChildProcess> process;
  std::thread listener;
  std::optional<std::size_t> system;  // the one it checks; none when it is free
  bool ended = false;
};

WorkerPool::WorkerPool(std::size_t size, StartRequest start) : size_(size), start_(std::move(start)) {}

// A free worker ends when its input closes; one that still checks a system
// is ended, since the run that wanted its answer is over.
WorkerPool::~WorkerPool() {
  {
    const std::lock_guard lock(mutex_);
    for (const auto& worker : workers_) {
      worker->process->CloseInput();
      if (worker->system) worker->process->Kill();
    }
  }
  for (const auto& worker : workers_) worker->listener.join();
}

std::unique_ptr<WorkerPool::Worker> WorkerPool::StartWorker(std::string& why) {
  auto worker = std::make_unique<Worker>();
  if (worker->folder.Failure()) {
    why = "no private folder: " + *worker->folder.Failure();
    return nullptr;
  }
  worker->process = std::make_unique<ChildProcess>(kListingWorkerWord, group_);
  if (!worker->process->Started()) {
    why = "no worker process: " + *worker->process->Failure();
    return nullptr;
  }
  StartRequest start = start_;
  start.folder = worker->folder.Path();
  worker->process->Send(EncodeRecord(RecordKind::Start, EncodeStart(start)));
  worker->listener = std::thread([this, &worker = *worker] { Listen(worker); });
  return worker;
}

WorkerPool::Given WorkerPool::Give(std::size_t system, const CheckRequest& request, std::string& why) {
  std::unique_lock lock(mutex_);
  auto free = std::find_if(workers_.begin(), workers_.end(),
                           [](const auto& worker) { return !worker->ended && !worker->system; });
  Worker* worker = free != workers_.end() ? free->get() : nullptr;
  if (worker == nullptr) {
    const auto running = static_cast<std::size_t>(
        std::count_if(workers_.begin(), workers_.end(), [](const auto& other) { return !other->ended; }));
    if (running >= size_ || ending_) return running > 0 ? Given::AllBusy : Given::NoWorker;
    lock.unlock();
    std::unique_ptr<Worker> started = StartWorker(why);
    lock.lock();
    if (!started || ending_) {
      // As many as could be started are all there will be.
      size_ = running;
      return running > 0 ? Given::AllBusy : Given::NoWorker;
    }
    worker = workers_.emplace_back(std::move(started)).get();
  }
  worker->system = system;
  lock.unlock();
  // A worker that has ended meanwhile reports the system without an outcome.
  worker->process->Send(EncodeRecord(RecordKind::Check, EncodeCheck(request)));
  return Given::ToWorker;
}

void WorkerPool::Listen(Worker& worker) {
  PipeStream pipe(worker.process->Output());
  RecordReader records(pipe);
  WorkerReport report;
  while (std::optional<Record> record = records.Next()) {
    if (record->kind == RecordKind::Output || record->kind == RecordKind::Log) {
      report.printed.push_back(std::move(*record));
      continue;
    }
    report.outcome = record->kind == RecordKind::Result ? DecodeOutcome(record->bytes) : std::nullopt;
    if (!report.outcome) {
      // A worker that says anything else is of no use any more.
      worker.process->Kill();
      break;
    }
    report.trace = TakeFile(worker.folder.Path(), kTraceFileName);
    report.sapRfcIni = TakeFile(worker.folder.Path(), "SapRfc.ini");
    const std::lock_guard lock(mutex_);
    reports_[*worker.system] = std::move(report);
    report = {};
    worker.system.reset();
    changed_.notify_all();
  }
  const int status = worker.process->Wait();
  report.trace = TakeFile(worker.folder.Path(), kTraceFileName);
  report.sapRfcIni = TakeFile(worker.folder.Path(), "SapRfc.ini");
  const std::lock_guard lock(mutex_);
  worker.ended = true;
  if (worker.system) {
    report.exitStatus = status;
    reports_[*worker.system] = std::move(report);
    worker.system.reset();
  }
  changed_.notify_all();
}

std::size_t WorkerPool::Size() const {
  const std::lock_guard lock(mutex_);
  return size_;
}

bool WorkerPool::HasFreeLocked() const {
  std::size_t running = 0;
  for (const auto& worker : workers_) {
    if (worker->ended) continue;
    if (!worker->system) return true;
    ++running;
  }
  return running < size_;
}

WorkerPool::Awaited WorkerPool::Await(std::size_t system, bool untilFree, Deadline deadline) {
  std::unique_lock lock(mutex_);
  const auto changed = [&] { return reports_.count(system) > 0 || (untilFree && HasFreeLocked()); };
  if (!deadline) {
    changed_.wait(lock, changed);
  } else if (!changed_.wait_until(lock, *deadline, changed)) {
    return Awaited::DeadlineCame;
  }
  return reports_.count(system) > 0 ? Awaited::Reported : Awaited::Free;
}

std::optional<WorkerReport> WorkerPool::Take(std::size_t system) {
  const std::lock_guard lock(mutex_);
  const auto found = reports_.find(system);
  if (found == reports_.end()) return std::nullopt;
  WorkerReport report = std::move(found->second);
  reports_.erase(found);
  return report;
}

void WorkerPool::EndAll() {
  std::vector<Worker*> workers;
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
    for (const auto& worker : workers_) workers.push_back(worker.get());
  }
  for (Worker* worker : workers) worker->process->Kill();
  for (Worker* worker : workers) {
    worker->process->Wait();
    worker->folder.Remove();
  }
}

}  // namespace tavorine
