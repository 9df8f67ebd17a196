#include "platform/process/console_input.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>

#include <csignal>
#endif

namespace tavorine {

#ifdef _WIN32

bool InputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

std::string ReadWithoutEcho(const std::function<std::string()>& readLine) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  GetConsoleMode(input, &mode);
  SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  std::string line = readLine();
  SetConsoleMode(input, mode);
  return line;
}

#else

namespace {

// The terminal's settings while echo is off. A signal handler, which is a C
// callback, has to reach them: an interrupted prompt must not leave the
// user's terminal silent.
struct termios gSavedTerminal;
volatile std::sig_atomic_t gEchoIsOff = 0;

extern "C" void RestoreEchoAndRaise(int signalNumber) {
  if (gEchoIsOff != 0) tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedTerminal);
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

}  // namespace

bool InputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

std::string ReadWithoutEcho(const std::function<std::string()>& readLine) {
  if (tcgetattr(STDIN_FILENO, &gSavedTerminal) != 0) return readLine();
  struct termios silent = gSavedTerminal;
  silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  for (const int signalNumber : kEndingSignals) std::signal(signalNumber, RestoreEchoAndRaise);
  gEchoIsOff = 1;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  std::string line = readLine();
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &gSavedTerminal);
  gEchoIsOff = 0;
  for (const int signalNumber : kEndingSignals) std::signal(signalNumber, SIG_DFL);
  return line;
}

#endif

}  // namespace tavorine
