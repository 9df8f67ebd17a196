#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/native_file.h"

namespace tavorine {

// The child processes a process starts, ended with it in any way it ends: a
// child stuck in a library call must not outlive a parent that the monitor
// killed. On Windows a job object, which the system closes with the parent
// and which then ends every child; elsewhere each child asks for it itself
// (EndWithParent). Owns the job.
class ChildProcessGroup {
 public:
  ChildProcessGroup();
  ~ChildProcessGroup();
  ChildProcessGroup(const ChildProcessGroup&) = delete;
  ChildProcessGroup& operator=(const ChildProcessGroup&) = delete;

#ifdef _WIN32
  void* Job() const { return job_; }

 private:
  void* job_ = nullptr;
#endif
};

// Called first thing by a child: ends it when its parent ends (Linux; on
// Windows the parent's ChildProcessGroup does).
void EndWithParent();

// This program started once more as a child process, with one argument, its
// standard input and output pipes to the parent and its standard error the
// parent's. The child's output is collected by ReadAll; the child is ended
// and its process reaped when the object goes, whatever happened.
class ChildProcess {
 public:
  // Starts the running program's own file with the argument, in the group;
  // Started() tells whether that worked.
  ChildProcess(std::string_view argument, const ChildProcessGroup& group);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return started_; }
  // Writes the bytes to the child's standard input and closes it.
  void Send(std::string_view bytes);
  // The child's standard output, read until the child closes it. Blocks.
  std::string ReadAll();
  // Waits for the child to end: its exit status, or -1 when it did not end
  // by itself (a crash, a signal, a kill).
  int Wait();
  // Ends the child at once (it may hang inside a library call). Safe while
  // another thread waits: the child is never gone before Wait has seen its end.
  void Kill();

 private:
#ifdef _WIN32
  void* process_ = nullptr;
  NativeFile input_ = nullptr;
  NativeFile output_ = nullptr;
#else
  int pid_ = -1;
  NativeFile input_ = -1;
  NativeFile output_ = -1;
#endif
  bool started_ = false;
  std::mutex ending_;
  bool waited_ = false;
  int status_ = -1;
};

}  // namespace tavorine
