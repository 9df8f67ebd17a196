#include "platform/child_process.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
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
#else
void CloseIfOpen(int& descriptor) {
  if (descriptor >= 0) close(descriptor);
  descriptor = -1;
}
#endif
}  // namespace

#ifdef _WIN32

ChildProcess::ChildProcess(std::string_view argument) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childInput = nullptr;
  HANDLE childOutput = nullptr;
  HANDLE input = nullptr;
  HANDLE output = nullptr;
  if (!CreatePipe(&childInput, &input, &inherited, 0)) return;
  if (!CreatePipe(&output, &childOutput, &inherited, 0)) {
    CloseHandle(childInput);
    CloseHandle(input);
    return;
  }
  // The parent's ends stay with the parent, or the child would hold its own pipes open.
  SetHandleInformation(input, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput;
  startup.hStdOutput = childOutput;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  const std::wstring program = ProgramFile();
  std::wstring commandLine = L"\"" + program + L"\" " + Widened(argument);
  PROCESS_INFORMATION process{};
  started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &process) != 0;
  CloseHandle(childInput);
  CloseHandle(childOutput);
  input_ = input;
  output_ = output;
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

ChildProcess::ChildProcess(std::string_view argument) {
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
