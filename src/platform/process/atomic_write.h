#pragma once
#include <string_view>

namespace tavorine {

// Who else may write the same target at the same time.
enum class Writers {
  // The caller holds a lock that every writer takes: the temporary file has
  // one fixed name, so a writer killed halfway leaves nothing that the next
  // one does not write over and rename away.
  OneAtATime,
  // No lock: each process writes a temporary file of its own.
  Several,
};

// Writes the bytes to a temporary file beside the target and renames it over
// the target, so a reader sees the old file or the new one, never a part.
// False when the file cannot be written.
bool WriteFileAtomically(std::string_view windowsPath, std::string_view contents, Writers writers);

}  // namespace tavorine
