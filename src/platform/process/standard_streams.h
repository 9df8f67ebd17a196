#pragma once
#include <string>

#include "platform/files/native_file.h"

namespace tavorine {

// Makes the three standard streams safe before the program opens any file. A
// stream that the starter left closed gets the null device: otherwise the
// first file the program opens would take its place, and text meant for
// standard output would land in the run log or a lock file. A reader of
// standard output that went away makes a write fail instead of ending the
// process with a signal. Returns whether standard output was open.
bool PrepareStandardStreams();

// The handle of standard input.
NativeHandle StandardInput();

}  // namespace tavorine
