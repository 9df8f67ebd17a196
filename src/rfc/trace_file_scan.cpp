#include "rfc/trace_file_scan.h"

#include <algorithm>
#include <optional>

namespace tavorine {

namespace {

constexpr std::size_t kTracePieceLength = 99;
constexpr std::size_t kBlockSize = 65536;
constexpr std::string_view kBlockHeader = "**** ERROR ";
constexpr std::string_view kErrorLine = "ERROR ";
constexpr std::size_t kErrorMessageColumn = 12;
constexpr std::string_view kArrow = "======> ";
constexpr std::size_t kArrowColumn = 7;

// The message a piece sets (empty for a block header), nothing when it matches no rule.
std::optional<std::string> PieceMessage(std::string_view piece) {
  piece = piece.substr(0, piece.find('\0'));
  const auto from = [&piece](std::size_t column) {
    return piece.size() > column ? std::string(piece.substr(column)) : std::string();
  };
  if (piece.size() >= kArrowColumn + kArrow.size() && piece.substr(kArrowColumn, kArrow.size()) == kArrow) {
    return from(kArrowColumn + kArrow.size());
  }
  if (piece.starts_with(kErrorLine)) return from(kErrorMessageColumn);
  if (piece.starts_with(kBlockHeader)) return std::string();
  return std::nullopt;
}

// A window over the trace that slides towards its start, so that the scan
// reads each byte of the lines it looks at once, however short they are.
class BackwardWindow {
 public:
  explicit BackwardWindow(const ByteSource& source) : source_(source) {}

  // The bytes [offset, offset + length).
  std::string_view Bytes(std::uint64_t offset, std::size_t length) {
    if (offset < start_ || offset + length > End()) Load(offset + length, std::max<std::uint64_t>(kBlockSize, length));
    return std::string_view(window_).substr(static_cast<std::size_t>(offset - start_), length);
  }

  // The bytes of the window before end, after loading the block before end
  // when the window holds none of them. Empty only at the trace's start.
  std::string_view Before(std::uint64_t end, std::uint64_t& from) {
    if (end <= start_ || end > End()) Load(end, kBlockSize);
    from = start_;
    return std::string_view(window_).substr(0, static_cast<std::size_t>(end - start_));
  }

 private:
  std::uint64_t End() const { return start_ + window_.size(); }

  void Load(std::uint64_t end, std::uint64_t size) {
    start_ = end > size ? end - size : 0;
    window_ = source_.Read(start_, static_cast<std::size_t>(end - start_));
    window_.resize(static_cast<std::size_t>(end - start_), '\0');
  }

  const ByteSource& source_;
  std::uint64_t start_ = 0;
  std::string window_;
};

// Position just after the last line feed before end, 0 when there is none.
std::uint64_t LineStartBefore(BackwardWindow& trace, std::uint64_t end) {
  while (end > 0) {
    std::uint64_t from = 0;
    const std::string_view block = trace.Before(end, from);
    const std::size_t feed = block.rfind('\n');
    if (feed != std::string_view::npos) return from + feed + 1;
    end = from;
  }
  return 0;
}

// The message of the last matching piece of the line [start, contentEnd).
std::optional<std::string> LastMessageOfLine(BackwardWindow& trace, std::uint64_t start, std::uint64_t contentEnd) {
  const std::uint64_t length = contentEnd - start;
  for (std::uint64_t piece = (length + kTracePieceLength - 1) / kTracePieceLength; piece-- > 0;) {
    const std::uint64_t offset = start + piece * kTracePieceLength;
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kTracePieceLength, contentEnd - offset));
    if (auto message = PieceMessage(trace.Bytes(offset, size))) return message;
  }
  return std::nullopt;
}

// The last bytes of a source, as a source of their own.
class Tail final : public ByteSource {
 public:
  Tail(const ByteSource& source, std::uint64_t limit)
      : source_(source), start_(source.Size() > limit ? source.Size() - limit : 0) {}
  std::uint64_t Size() const override { return source_.Size() - start_; }
  std::string Read(std::uint64_t offset, std::size_t length) const override {
    return source_.Read(start_ + offset, length);
  }

 private:
  const ByteSource& source_;
  std::uint64_t start_;
};

}  // namespace

std::string TraceFileScanText(const ByteSource& source) {
  BackwardWindow trace(source);
  std::uint64_t end = source.Size();
  while (end > 0) {
    std::uint64_t contentEnd = end;
    if (trace.Bytes(contentEnd - 1, 1) == "\n") {
      --contentEnd;
      if (contentEnd > 0 && trace.Bytes(contentEnd - 1, 1) == "\r") --contentEnd;
    }
    const std::uint64_t start = LineStartBefore(trace, contentEnd);
    if (auto message = LastMessageOfLine(trace, start, contentEnd)) {
      return message->empty() ? " - Please Check Trace-File !" : " - " + *message;
    }
    end = start;
  }
  return " - Please Check Trace-File !";
}

std::string TraceFileScan() {
  const std::optional<InputFile> trace = InputFile::Open(kTraceFileName);
  if (!trace) return " - Look for Trace-File";
  const FileSource file(*trace);
  return TraceFileScanText(Tail(file, kTraceScanLimit));
}

}  // namespace tavorine
