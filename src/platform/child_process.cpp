#include "platform/child_process.h"

#include "platform/exit_status.h"

#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tavorine {

namespace {
#ifdef _WIN32
std::wstring ProgramFile() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }

// Starts the program with these standard handles, and no other handle of
// this process: a worker that held the parent's own standard output would
// keep the monitor waiting for its end as long as the worker lives. Without
// a console of its own (DETACHED_PROCESS), so that no console host starts
// with it and holds its pipes open after it has gone.
bool StartWithOnly(const std::wstring& program, std::wstring commandLine, HANDLE input, HANDLE output, HANDLE job,
                   PROCESS_INFORMATION& process) {
  HANDLE error = nullptr;
  const HANDLE parentError = GetStdHandle(STD_ERROR_HANDLE);
  if (parentError != nullptr && parentError != INVALID_HANDLE_VALUE) {
    DuplicateHandle(GetCurrentProcess(), parentError, GetCurrentProcess(), &error, 0, TRUE, DUPLICATE_SAME_ACCESS);
  }
  HANDLE handles[] = {input, output, error};
  const DWORD count = error != nullptr ? 3 : 2;
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> attributes(size);
  auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
  bool started = InitializeProcThreadAttributeList(list, 1, 0, &size) &&
                 UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, count * sizeof(HANDLE),
                                           nullptr, nullptr);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = error;
  startup.lpAttributeList = list;
  started = started && CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED, nullptr,
                                      nullptr, &startup.StartupInfo, &process);
  DeleteProcThreadAttributeList(list);
  if (started) {
    // In the job before it runs a single instruction, so it can never outlive the parent.
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
  }
  if (error != nullptr) CloseHandle(error);
  return started;
}
#else
void CloseIfOpen(int& descriptor) {
  if (descriptor >= 0) close(descriptor);
  descriptor = -1;
}
#endif
}  // namespace

#ifdef _WIN32

ChildProcessGroup::ChildProcessGroup() : job_(CreateJobObjectW(nullptr, nullptr)) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job_ != nullptr) SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

ChildProcessGroup::~ChildProcessGroup() {
  if (job_ != nullptr) CloseHandle(job_);
}

void EndWithParent() {}

ChildProcess::ChildProcess(std::string_view argument, const ChildProcessGroup& group) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childInput = nullptr;
  HANDLE childOutput = nullptr;
  if (!CreatePipe(&childInput, &input_, &inherited, 0)) return;
  if (!CreatePipe(&output_, &childOutput, &inherited, 0)) {
    CloseHandle(childInput);
    return;
  }
  // The parent's ends stay with the parent.
  SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
  const std::wstring program = ProgramFile();
  PROCESS_INFORMATION process{};
  started_ = StartWithOnly(program, L"\"" + program + L"\" " + Widened(argument), childInput, childOutput,
                           group.Job(), process);
  CloseHandle(childInput);
  CloseHandle(childOutput);
  if (!started_) return;
  CloseHandle(process.hThread);
  process_ = process.hProcess;
}

ChildProcess::~ChildProcess() {
  if (started_ && !waited_) {
    Kill();
    Wait();
  }
  if (input_ != nullptr) CloseHandle(input_);
  if (output_ != nullptr) CloseHandle(output_);
  if (process_ != nullptr) CloseHandle(process_);
}

void ChildProcess::Send(std::string_view bytes) {
  WriteAll(input_, bytes);
  CloseHandle(input_);
  input_ = nullptr;
}

int ChildProcess::Wait() {
  if (!started_) return status_;
  WaitForSingleObject(process_, INFINITE);
  const std::lock_guard lock(ending_);
  if (waited_) return status_;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  waited_ = true;
  // A crash ends a Windows process with an exception code, far above any exit status.
  status_ = code <= 255 ? static_cast<int>(code) : -1;
  return status_;
}

void ChildProcess::Kill() {
  const std::lock_guard lock(ending_);
  if (started_ && !waited_) TerminateProcess(process_, 0xFFFFFFFF);
}

#else

ChildProcessGroup::ChildProcessGroup() = default;
ChildProcessGroup::~ChildProcessGroup() = default;

void EndWithParent() {
  const pid_t parent = getppid();
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // The parent may have gone before the request took hold.
  if (getppid() != parent) _exit(static_cast<int>(ExitStatus::Failed));
}

ChildProcess::ChildProcess(std::string_view argument, const ChildProcessGroup&) {
  int input[2];
  int output[2];
  if (pipe2(input, O_CLOEXEC) != 0) return;
  if (pipe2(output, O_CLOEXEC) != 0) {
    close(input[0]);
    close(input[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  const std::string word(argument);
  char program[] = "/proc/self/exe";
  char* arguments[] = {program, const_cast<char*>(word.c_str()), nullptr};
  started_ = posix_spawn(&pid_, program, &actions, nullptr, arguments, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(input[0]);
  close(output[1]);
  input_ = input[1];
  output_ = output[0];
}

ChildProcess::~ChildProcess() {
  if (started_ && !waited_) {
    Kill();
    Wait();
  }
  CloseIfOpen(input_);
  CloseIfOpen(output_);
}

void ChildProcess::Send(std::string_view bytes) {
  WriteAll(input_, bytes);
  CloseIfOpen(input_);
}

int ChildProcess::Wait() {
  if (!started_) return status_;
  // Seen ended, not yet reaped: until then its process id cannot go to another process, which a Kill would hit.
  siginfo_t ended{};
  while (waitid(P_PID, static_cast<id_t>(pid_), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  const std::lock_guard lock(ending_);
  if (waited_) return status_;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  waited_ = true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return status_;
}

void ChildProcess::Kill() {
  const std::lock_guard lock(ending_);
  if (started_ && !waited_) kill(pid_, SIGKILL);
}

#endif

std::string ChildProcess::ReadAll() { return ReadToEnd(output_); }

}  // namespace tavorine
