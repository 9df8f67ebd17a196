#pragma once

namespace tavorine {

// This process's id, as the system numbers processes; the system gives an
// id out again once its process has gone.
int CurrentProcessId();

// Whether a process of this id runs (or has ended and is not yet reaped).
bool ProcessIsAlive(int processId);

}  // namespace tavorine
