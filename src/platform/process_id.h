#pragma once

namespace tavorine {

// This process's id, as the system numbers processes; the system gives an
// id out again once its process has gone.
int CurrentProcessId();

}  // namespace tavorine
