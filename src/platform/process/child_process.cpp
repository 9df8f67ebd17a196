#include "platform/process/child_process.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/process/process_id.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tavorine {

std::string ParentIdForChild() { return std::to_string(CurrentProcessId()); }

#ifdef _WIN32

namespace {

std::wstring ProgramFile() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }

std::string SystemMessage(DWORD error) { return "Windows error " + std::to_string(error); }

// Starts the program with these standard handles, and no other handle of
// this process: a worker that held the parent's own standard output would
// keep the monitor waiting for its end as long as the worker lives. Without
// a console of its own (DETACHED_PROCESS), so that no console host starts
// with it and holds its pipes open after it has gone. Suspended, so that a
// parent outside its job can put it there before it runs.
std::optional<std::string> StartWithOnly(const std::wstring& program, std::wstring commandLine, HANDLE input,
                                         HANDLE output, PROCESS_INFORMATION& process) {
  NativeFile error;
  const HANDLE parentError = GetStdHandle(STD_ERROR_HANDLE);
  if (parentError != nullptr && parentError != INVALID_HANDLE_VALUE) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), parentError, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS);
    error = NativeFile(copy);
  }
  HANDLE handles[] = {input, output, error.Handle()};
  const DWORD count = error.IsOpen() ? 3 : 2;
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> attributes(size);
  auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
  if (!InitializeProcThreadAttributeList(list, 1, 0, &size) ||
      !UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, count * sizeof(HANDLE), nullptr,
                                 nullptr)) {
    return SystemMessage(GetLastError());
  }
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = error.IsOpen() ? error.Handle() : nullptr;
  startup.lpAttributeList = list;
  const bool started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED, nullptr,
                                      nullptr, &startup.StartupInfo, &process);
  const DWORD why = GetLastError();
  DeleteProcThreadAttributeList(list);
  if (!started) return SystemMessage(why);
  return std::nullopt;
}

}  // namespace

// The parent puts itself into the job, so that every child is in it from its
// first instruction: a child that the parent had to put there itself would
// escape it when the parent was killed in between. The job then holds the
// parent too, and closing it would end the parent: its handle stays open
// until the system closes it with the process.
ChildProcessGroup::ChildProcessGroup() : job_(CreateJobObjectW(nullptr, nullptr)) {
  if (!job_.IsOpen()) return;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job_.Handle(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    job_.Close();
    return;
  }
  holdsParent_ = AssignProcessToJobObject(job_.Handle(), GetCurrentProcess()) != 0;
}

ChildProcessGroup::~ChildProcessGroup() {
  if (holdsParent_) static_cast<void>(job_.Release());
}

bool EndsWithParent(std::string_view) { return true; }

ChildProcess::ChildProcess(std::string_view word, const ChildProcessGroup& group) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childInput = nullptr;
  HANDLE childOutput = nullptr;
  HANDLE parentInput = nullptr;
  HANDLE parentOutput = nullptr;
  if (!CreatePipe(&childInput, &parentInput, &inherited, 0)) {
    failure_ = SystemMessage(GetLastError());
    return;
  }
  const NativeFile childIn(childInput);
  input_ = NativeFile(parentInput);
  if (!CreatePipe(&parentOutput, &childOutput, &inherited, 0)) {
    failure_ = SystemMessage(GetLastError());
    return;
  }
  const NativeFile childOut(childOutput);
  output_ = NativeFile(parentOutput);
  // The parent's ends stay with the parent.
  SetHandleInformation(input_.Handle(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_.Handle(), HANDLE_FLAG_INHERIT, 0);
  const std::wstring program = ProgramFile();
  const std::wstring commandLine =
      L"\"" + program + L"\" " + Widened(word) + L" " + Widened(ParentIdForChild());
  PROCESS_INFORMATION process{};
  failure_ = StartWithOnly(program, commandLine, childIn.Handle(), childOut.Handle(), process);
  if (failure_) return;
  process_ = NativeFile(process.hProcess);
  const NativeFile thread(process.hThread);
  if (!group.HoldsParent() && !AssignProcessToJobObject(group.Job(), process_.Handle())) {
    failure_ = "it could not be tied to the sensor's job (" + SystemMessage(GetLastError()) + ")";
    TerminateProcess(process_.Handle(), 0xFFFFFFFF);
    return;
  }
  ResumeThread(thread.Handle());
}

int ChildProcess::Wait() {
  if (!Started()) return status_;
  WaitForSingleObject(process_.Handle(), INFINITE);
  const std::lock_guard lock(ending_);
  if (waited_) return status_;
  DWORD code = 0;
  GetExitCodeProcess(process_.Handle(), &code);
  waited_ = true;
  // A crash ends a Windows process with an exception code, far above any exit status.
  status_ = code <= 255 ? static_cast<int>(code) : -1;
  return status_;
}

// The handle keeps the process object: TerminateProcess never reaches another process.
void ChildProcess::Kill() {
  if (Started()) TerminateProcess(process_.Handle(), 0xFFFFFFFF);
}

#else

ChildProcessGroup::ChildProcessGroup() = default;
ChildProcessGroup::~ChildProcessGroup() = default;

bool EndsWithParent(std::string_view parentId) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // A parent that ended before the request took hold has handed its children
  // to another process: the id the parent passed tells.
  return std::to_string(getppid()) == parentId;
}

ChildProcess::ChildProcess(std::string_view word, const ChildProcessGroup&) {
  int input[2];
  int output[2];
  if (pipe2(input, O_CLOEXEC) != 0) {
    failure_ = std::strerror(errno);
    return;
  }
  const NativeFile childIn(input[0]);
  input_ = NativeFile(input[1]);
  if (pipe2(output, O_CLOEXEC) != 0) {
    failure_ = std::strerror(errno);
    return;
  }
  const NativeFile childOut(output[1]);
  output_ = NativeFile(output[0]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, childIn.Handle(), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, childOut.Handle(), STDOUT_FILENO);
  std::string program = "/proc/self/exe";
  std::string wordText(word);
  std::string parentId = ParentIdForChild();
  char* arguments[] = {program.data(), wordText.data(), parentId.data(), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    failure_ = std::strerror(spawned);
    return;
  }
  processId_ = pid;
  // A descriptor of the process itself, where the system has them: a kill
  // through it can never hit another process that got the id later.
  process_ = NativeFile(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
}

int ChildProcess::Wait() {
  if (!Started()) return status_;
  // Seen ended, not yet reaped: until then its process id cannot go to another process, which a Kill would hit.
  siginfo_t ended{};
  while (waitid(P_PID, static_cast<id_t>(processId_), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  const std::lock_guard lock(ending_);
  if (waited_) return status_;
  int status = 0;
  while (waitpid(processId_, &status, 0) < 0 && errno == EINTR) {
  }
  waited_ = true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return status_;
}

void ChildProcess::Kill() {
  if (!Started()) return;
  if (process_.IsOpen()) {
    syscall(SYS_pidfd_send_signal, process_.Handle(), SIGKILL, nullptr, 0);
    return;
  }
  // Without a process descriptor the id serves, while it is surely still the child's: not yet reaped.
  const std::lock_guard lock(ending_);
  if (!waited_) kill(processId_, SIGKILL);
}

#endif

ChildProcess::~ChildProcess() {
  if (Started() && !waited_) {
    Kill();
    Wait();
  }
}

bool ChildProcess::Send(std::string_view bytes) { return input_.IsOpen() && WriteAll(input_.Handle(), bytes); }

}  // namespace tavorine
