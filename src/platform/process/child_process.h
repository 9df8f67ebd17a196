#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/native_file.h"

namespace tavorine {

// The child processes a process starts, ended with it in any way it ends: a
// child stuck in a library call must not outlive a parent that the monitor
// killed. On Windows a job object that ends every process in it when it
// closes, which the system does when the parent ends; elsewhere each child
// asks for it itself (EndWithParent). Owns the job.
class ChildProcessGroup {
 public:
  ChildProcessGroup();
  ~ChildProcessGroup();
  ChildProcessGroup(const ChildProcessGroup&) = delete;
  ChildProcessGroup& operator=(const ChildProcessGroup&) = delete;

  NativeHandle Job() const { return job_.Handle(); }
  // Whether this process is in the job itself, so that every child it
  // starts is in the job from its first instruction.
  bool HoldsParent() const { return holdsParent_; }

 private:
  NativeFile job_;
  bool holdsParent_ = false;
};

// Called first thing by a child, with the parent's process id as the parent
// passed it: has the system end the child when its parent ends (Linux; on
// Windows the parent's ChildProcessGroup does it). False when the parent has
// ended already, before the request took hold: the child must end at once.
bool EndsWithParent(std::string_view parentId);

// This process's id as text, for a child to pass back to EndWithParent.
std::string ParentIdForChild();

// This program started once more as a child process, with two arguments (a
// word, then ParentIdForChild()), its standard input and output pipes to the
// parent and its standard error the parent's. The child is ended and its
// process reaped when the object goes, whatever happened.
class ChildProcess {
 public:
  // Starts the running program's own file with the word, in the group;
  // Started() tells whether that worked, and if not, Failure() why.
  ChildProcess(std::string_view word, const ChildProcessGroup& group);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return !failure_; }
  // The system's reason a child did not start, in words.
  const std::optional<std::string>& Failure() const { return failure_; }
  // Writes the bytes to the child's standard input; false when it takes no more.
  bool Send(std::string_view bytes);
  // Closes the child's standard input: it has nothing more to read.
  void CloseInput() { input_.Close(); }
  // The child's standard output, to read from.
  NativeHandle Output() const { return output_.Handle(); }
  // Waits for the child to end: its exit status, or -1 when it did not end
  // by itself (a crash, a signal, a kill).
  int Wait();
  // Ends the child at once (it may hang inside a library call). Safe while
  // another thread waits: the child is never gone before Wait has seen its end.
  void Kill();

 private:
  // The process: a handle on Windows, an id elsewhere.
  NativeFile process_;
  int processId_ = -1;
  NativeFile input_;
  NativeFile output_;
  std::optional<std::string> failure_;
  std::mutex ending_;
  bool waited_ = false;
  int status_ = -1;
};

}  // namespace tavorine
