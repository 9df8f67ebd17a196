#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tavorine {

// Reads a whole file named by a Windows path. Empty optional when it cannot be
// opened for reading (missing, a folder, no permission).
std::optional<std::string> ReadTextFile(std::string_view windowsPath);

// True when the file named by a Windows path opens for reading.
bool CanOpenForReading(std::string_view windowsPath);

// Deletes a file named by a Windows path; a missing file, or a folder of that
// name, is left as it is.
void DeleteRegularFile(std::string_view windowsPath);

// Splits text into the pieces a C line reader with a buffer of maxChars + 1
// bytes would return: each piece ends after a line feed or after maxChars
// characters. A CR LF pair counts as one line feed, as in Windows text mode, so
// both builds read a file alike. A piece holding a NUL byte ends there, as a C
// string would.
class PieceReader {
 public:
  PieceReader(std::string_view text, std::size_t maxChars) : text_(text), maxChars_(maxChars) {}

  // The next piece without its line end; false at the end of the text.
  bool Next(std::string& piece);

 private:
  std::string_view text_;
  std::size_t maxChars_;
};

}  // namespace tavorine
