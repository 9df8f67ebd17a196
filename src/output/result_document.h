#pragma once
#include <string>
#include <string_view>

#include "output/channel_text.h"
#include "output/output_mode.h"

namespace tavorine {

// The document a run prints, built by the Doc* operations in the form of the
// run's OutputMode. Callers add the message text between DocTextOpen and
// DocTextClose with AppendText, and print Text() when a piece is complete (a
// listing run prints the head at once, the rest at the end).
// Texts inserted into the XML form are escaped (EscapeXmlText); the plain-text
// forms get them unchanged. Owns its text.
class ResultDocument {
 public:
  explicit ResultDocument(OutputMode mode) : mode_(mode) {}

  // What the run's options ask of the document (a listing run's are those of
  // its listing file): the Brantle form's one channel, and limits: in the XML
  // form every count channel then carries the monitor's unit Count and,
  // where a count above 0 is an error, the limit that turns the sensor to its
  // error state. The monitor reads limits only when it first creates a channel.
  void FollowOptions(ChannelSelection channel, bool limits);
  bool WritesLimits() const;

  void DocOpen();
  void DocTextOpen();
  void DocTextClose();
  // With ",LIMITS" a channel without a unit is a count whose error limit is 0.
  void DocChannel(std::string_view name, std::string_view value, std::string_view unit);
  // A count channel of the ",LIMITS" form; errorAboveZero adds the limit.
  void DocCountChannel(std::string_view name, std::string_view value, bool errorAboveZero);
  void DocClose();
  // Replaces everything with the error envelope, which is XML in every mode.
  void DocError(std::string_view message);
  // The same for a run that has already printed the document's head (DocOpen):
  // the envelope goes on inside that head, so the monitor still reads one
  // document and shows the message.
  void DocErrorAfterHead(std::string_view message);

  void AppendText(std::string_view text);

  const std::string& Text() const { return text_; }

 private:
  void CorvantaChannel(std::string_view name, std::string_view value, std::string_view unit);
  void BrantleChannel(std::string_view name, std::string_view value, std::string_view unit);
  void AppendError(std::string_view message);

  OutputMode mode_;
  ChannelSelection selection_;
  bool limits_ = false;
  int channelCount_ = 0;
  std::string text_;
};

}  // namespace tavorine
